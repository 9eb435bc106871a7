#pragma once

#include "records/table.h"
#include "support/testdatabase.h"

namespace orvane::test {

// The main window's table objects on a fresh base holding one patient, record number 12, without
// consultation, treatment or history rows yet.
struct Practice
{
    TestDatabase base;
    records::Table patients{base.db(), records::tables::patients};
    records::Table drugs{base.db(), records::tables::drugs};
    records::Table consultations{base.db(), records::tables::consultations};
    records::Table treatments{base.db(), records::tables::treatments};
    records::Table history{base.db(), records::tables::history};

    Practice()
    {
        patients.open();
        drugs.open();
        for (records::Table *detail : {&consultations, &treatments, &history}) {
            detail->setMaster(&patients);
            detail->open();
        }
        patients.insert();
        patients.setText(QStringLiteral("Nom"), QStringLiteral("MARTIN"));
        patients.setText(QStringLiteral("Prénom"), QStringLiteral("Paul"));
        patients.setValue(records::recordNumberField, 12);
        patients.setValue(QStringLiteral("Année"), 1950);
        patients.post();
    }

    void addDrug(const QString &brand, const QString &posology, const QString &drugClass = QString())
    {
        drugs.insert();
        drugs.setText(QStringLiteral("Marque"), brand);
        drugs.setText(QStringLiteral("Posologie"), posology);
        drugs.setText(QStringLiteral("Classe"), drugClass);
        drugs.post();
    }

    void setText(records::Table &table, const QString &field, const QString &text)
    {
        table.edit();
        table.setText(field, text);
        table.post();
    }
};

} // namespace orvane::test
