#include "app/prescriptionvidalhost.h"

#include "clinical/pregnancy.h"
#include "platform/clock.h"
#include "prescribing/prescriptionpage.h"
#include "records/currentpatient.h"

namespace orvane::app {

PrescriptionVidalHost::PrescriptionVidalHost(prescribing::PrescriptionPage &page, records::CurrentPatient &patient,
                                             const Clock &clock)
    : m_page(page)
    , m_patient(patient)
    , m_clock(clock)
{
}

vidal::VidalPatient PrescriptionVidalHost::vidalPatient() const
{
    records::Table &patients = m_patient.patients();
    const QString sex = patients.text(QStringLiteral("Sexe"));
    const int sexIndex = sex.compare(QLatin1String("Masculin"), Qt::CaseInsensitive) == 0 ? 0
        : sex.compare(QLatin1String("Feminin"), Qt::CaseInsensitive) == 0                 ? 1
                                                                                          : -1;
    const auto age = records::ageFromYearText(patients.text(QStringLiteral("Année")), m_clock.today().year());
    const QString weeks =
        clinical::pregnancyDisplay(m_patient.measures().date(QStringLiteral("Début grossesse")), m_clock.today()).weeks;
    return vidal::VidalPatient::fromRecords(sexIndex, age ? QString::number(*age) : QString(), weeks,
                                            m_patient.measures(), m_patient.history());
}

QString PrescriptionVidalHost::prescription() const
{
    return m_page.prescriptionText();
}

void PrescriptionVidalHost::appendToPrescription(const QString &line)
{
    m_page.appendToPrescription(line);
}

void PrescriptionVidalHost::logDrug(const QString &logText)
{
    m_page.logDrug(logText);
}

void PrescriptionVidalHost::disablePrintButtons()
{
    m_page.setPlainPrintingEnabled(false);
}

void PrescriptionVidalHost::setScratchText(const QString &text)
{
    m_page.setScratchText(text);
}

} // namespace orvane::app
