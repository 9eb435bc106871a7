#include "clinical/picklists.h"

#include "clinical/fieldtext.h"
#include "clinical/picklist.h"
#include "records/currentpatient.h"

#include <QLayout>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace orvane::clinical {

namespace {

PickListLook wordLook(const QString &letters, const QString &search, const QString &grid, const QString &field)
{
    return PickListLook{letters, search, grid, QStringList{field}, QStringLiteral("Double Click pour valider"), false, false};
}

PickList *besideMemo(PickList *list, QWidget *page)
{
    page->layout()->addWidget(list);
    return list;
}

} // namespace

PickLists::PickLists(records::CurrentPatient &patient, QWidget *treatmentBox, QTabWidget *historyPages,
                     QObject *parent)
    : QObject(parent)
    , m_patient(patient)
{
    const QString words = QStringLiteral("Mots");
    QWidget *illnessesPage = historyPages->widget(0);
    QWidget *operationsPage = historyPages->widget(1);
    m_pastIllnesses = besideMemo(
        new PickList(patient.historyWords(), words,
                     wordLook(QStringLiteral("alphabet1"), QStringLiteral("Recherchemed"), QStringLiteral("motsmed"), words),
                     illnessesPage),
        illnessesPage);
    m_pastOperations = besideMemo(
        new PickList(patient.historyWords(), words,
                     wordLook(QStringLiteral("alphabrt3"), QStringLiteral("Recherchechir"), QStringLiteral("motchir"), words),
                     operationsPage),
        operationsPage);
    const QString brand = QStringLiteral("Marque");
    m_treatments = besideMemo(
        new PickList(patient.drugs(), brand,
                     wordLook(QStringLiteral("alphabet2"), QStringLiteral("recherche2"), QStringLiteral("tttmed"), brand),
                     treatmentBox),
        treatmentBox);
    const PickListLook drugLook{QStringLiteral("alphabet"),
                                QStringLiteral("recherche"),
                                QStringLiteral("Vaso"),
                                {brand, QStringLiteral("Posologie")},
                                QStringLiteral("Doubleclick"),
                                true,
                                true};
    m_drugs = new PickList(patient.drugs(), brand, drugLook, treatmentBox->window());

    connect(m_pastIllnesses, &PickList::picked, this, &PickLists::motsmedDblClick);
    connect(m_pastOperations, &PickList::picked, this, &PickLists::motchirDblClick);
    connect(m_treatments, &PickList::picked, this, &PickLists::tttmedDblClick);
    connect(m_drugs, &PickList::picked, this, &PickLists::VasoDblClick);
}

void PickLists::setFocusTarget(QWidget *target)
{
    m_focusTarget = target;
}

void PickLists::takeWord(PickList *list, records::Table &target, const QString &field)
{
    appendLinesToField(target, field, {list->word()});
    // The text the word went into stands beside the list, in its page or box.
    list->finishPick(list->parentWidget()->findChild<QPlainTextEdit *>());
}

void PickLists::motsmedDblClick()
{
    takeWord(m_pastIllnesses, m_patient.history(), QStringLiteral("Antécédents médicaux"));
}

void PickLists::motchirDblClick()
{
    takeWord(m_pastOperations, m_patient.history(), QStringLiteral("Antécédents chirugicaux"));
}

void PickLists::tttmedDblClick()
{
    takeWord(m_treatments, m_patient.treatments(), QStringLiteral("Traitement général"));
}

void PickLists::VasoDblClick()
{
    records::Table &drugs = m_patient.drugs();
    emit drugChosen(drugs.text(QStringLiteral("Marque")), drugs.text(QStringLiteral("Classe")));
    m_drugs->finishPick(m_focusTarget);
}

} // namespace orvane::clinical
