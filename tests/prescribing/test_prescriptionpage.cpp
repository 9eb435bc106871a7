#include "platform/error.h"
#include "platform/radiogroup.h"
#include "platform/textlines.h"
#include "practice.h"
#include "prescribing/modelfiles.h"
#include "prescribing/prescriptionlayout.h"
#include "prescribing/prescriptionpage.h"
#include "prescribing/prescriptionprinting.h"
#include "records/table.h"
#include "support/scripteddialogservice.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace orvane;
using namespace orvane::prescribing;
using records::Table;

namespace {

class RecordingPrinting final : public PrescriptionPrinting
{
public:
    QStringList jobs;
    bool failing = false;

    void printPlain(const QString &prescription, const QString &renewal) override
    {
        record(QStringLiteral("plain"), prescription, renewal);
    }
    void printLongTermIllness(const QString &prescription, const QString &renewal) override
    {
        record(QStringLiteral("100%"), prescription, renewal);
    }
    void printCertificate(const QString &prescription) override
    {
        record(QStringLiteral("certificate"), prescription, QString());
    }

private:
    void record(const QString &kind, const QString &prescription, const QString &renewal)
    {
        if (failing)
            throw Error(QStringLiteral("Erreur d'impression"));
        jobs.append(kind + QLatin1Char('|') + prescription + QLatin1Char('|') + renewal);
    }
};

} // namespace

class TestPrescriptionPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::Practice> m_practice;
    std::unique_ptr<test::ScriptedDialogService> m_dialogs;
    std::unique_ptr<RecordingPrinting> m_printing;
    std::unique_ptr<PrescriptionPage> m_page;

    template<typename T>
    T *control(const char *name)
    {
        T *found = m_page->findChild<T *>(QString::fromUtf8(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    void click(const char *name) { QTest::mouseClick(control<QToolButton>(name), Qt::LeftButton); }
    void choose(const char *group, const QString &item)
    {
        for (QRadioButton *radio : control<RadioGroup>(group)->findChildren<QRadioButton *>()) {
            if (radio->text() == item) {
                // On the button's circle, the part of it a click always hits.
                QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
                return;
            }
        }
        QFAIL(qPrintable(QStringLiteral("no item %1").arg(item)));
    }
    QString prescription() const { return m_page->prescriptionText(); }
    QString choice() { return control<QLineEdit>("Edit6")->text(); }
    void setPastIllnesses(const QString &text)
    {
        m_practice->setText(m_practice->history, QStringLiteral("Antécédents médicaux"), text);
    }

private slots:
    void init()
    {
        m_practice = std::make_unique<test::Practice>();
        m_practice->addDrug(QStringLiteral("AMOXICILLINE 1 g"), QStringLiteral("1 g matin et soir"), QStringLiteral("A"));
        m_practice->addDrug(QStringLiteral("LEXOMIL"), QStringLiteral("1 cp le soir"), QStringLiteral("b"));
        m_practice->addDrug(QStringLiteral("ZOLOFT"), QStringLiteral("1 gél le matin"));
        m_dialogs = std::make_unique<test::ScriptedDialogService>();
        m_printing = std::make_unique<RecordingPrinting>();
        const PrescriptionTables tables{m_practice->drugs, m_practice->consultations, m_practice->treatments,
                                        m_practice->history};
        m_page = std::make_unique<PrescriptionPage>(tables, *m_dialogs, *m_printing);
        m_page->resize(1280, 900);
        m_page->show();
    }
    void cleanup()
    {
        QCOMPARE(m_dialogs->pendingAnswers(), 0);
        m_page.reset();
        m_printing.reset();
        m_dialogs.reset();
        m_practice.reset();
    }

    void validationWritesTheBlockAndLogsTheDrug()
    {
        m_page->chooseDrug(QStringLiteral("AMOXICILLINE 1 g"), QStringLiteral("A"));
        choose("quantite", QStringLiteral("1 flacon"));
        choose("nbre", QStringLiteral("2 cps"));
        choose("horaire", QStringLiteral("matin et soir"));
        choose("periode", QStringLiteral("pendant 8 jours"));
        click("Ok");
        QCOMPARE(prescription(),
                 QStringLiteral("- AMOXICILLINE 1 g: 1 flacon \r\n\r\n2 cps matin et soir pendant 8 jours\r\n\r\n\r\n"));
        QVERIFY(m_page->renewalText().isEmpty());
        QVERIFY(choice().isEmpty());
        for (const char *group : {"quantite", "nbre", "horaire", "periode"})
            QCOMPARE(control<RadioGroup>(group)->itemIndex(), -1);
        QCOMPARE(m_practice->consultations.text(QStringLiteral("Consultation")), QStringLiteral("\rAMOXICILLINE 1 g"));
        QCOMPARE(m_practice->treatments.text(QStringLiteral("Traitement général")),
                 QStringLiteral("\rAMOXICILLINE 1 g"));
        QCOMPARE(m_practice->consultations.state(), Table::State::Browse);
        QCOMPARE(m_page->pickedClasses(), QStringList{QStringLiteral("A")});

        // The block follows text the physician typed on an open last line.
        m_page->setPrescriptionText(QStringLiteral("Bilan"));
        m_page->chooseDrug(QStringLiteral("ZOLOFT"), QString());
        click("Ok");
        QCOMPARE(prescription(), QStringLiteral("Bilan\r\n- ZOLOFT \r\n\r\n  \r\n\r\n\r\n"));
    }

    void lastValidatedDrugDecidesTheRenewal()
    {
        m_page->chooseDrug(QStringLiteral("ZOLOFT"), QString());
        choose("arenouv", QStringLiteral("3 fois"));
        click("Ok");
        QCOMPARE(m_page->renewalText(), QStringLiteral("Ordonnance à renouveler: 3 fois"));
        QCOMPARE(control<QLineEdit>("Edit5")->text(), m_page->renewalText());
        m_page->chooseDrug(QStringLiteral("ZOLOFT"), QString());
        click("Ok");
        QVERIFY(m_page->renewalText().isEmpty());
    }

    void usualPosologyReplacesDoseAndTime()
    {
        m_page->chooseDrug(QStringLiteral("LEXOMIL"), QString());
        choose("radioposo", QStringLiteral("Posologie habituelle"));
        choose("nbre", QStringLiteral("1 gtte"));
        choose("periode", QStringLiteral("pendant 1 mois"));
        click("Ok");
        QCOMPARE(prescriptionLinesOf(prescription()).at(2), QStringLiteral("1 cp le soir pendant 1 mois"));
        QCOMPARE(control<RadioGroup>("radioposo")->itemIndex(), -1);

        // Cancelled input: the next drug uses the dose and time of day again.
        m_page->chooseDrug(QStringLiteral("LEXOMIL"), QString());
        choose("radioposo", QStringLiteral("Posologie habituelle"));
        click("IEButton21");
        m_page->chooseDrug(QStringLiteral("LEXOMIL"), QString());
        choose("nbre", QStringLiteral("1 cp"));
        choose("horaire", QStringLiteral("le soir"));
        click("Ok");
        QCOMPARE(prescriptionLinesOf(prescription()).at(7), QStringLiteral("1 cp le soir "));
    }

    void usualPosologyNeverComesFromAnotherDrug()
    {
        QVERIFY(m_practice->drugs.findKey({QStringLiteral("ZOLOFT")}));
        m_page->chooseDrug(QStringLiteral("LEXOMIL 2"), QString());
        choose("radioposo", QStringLiteral("Posologie habituelle"));
        QCOMPARE(control<RadioGroup>("radioposo")->itemIndex(), -1);
        QCOMPARE(m_practice->drugs.text(QStringLiteral("Marque")), QStringLiteral("ZOLOFT"));

        // A posology fetched for one name is dropped when the name changes.
        m_page->chooseDrug(QStringLiteral("LEXOMIL"), QString());
        choose("radioposo", QStringLiteral("Posologie habituelle"));
        m_page->chooseDrug(QStringLiteral("ZOLOFT"), QString());
        choose("nbre", QStringLiteral("2 cps"));
        click("Ok");
        QCOMPARE(prescriptionLinesOf(prescription()).at(2), QStringLiteral("2 cps  "));
    }

    void interactionWarning_data()
    {
        QTest::addColumn<bool>("goOn");
        QTest::newRow("continue") << true;
        QTest::newRow("refuse") << false;
    }
    void interactionWarning()
    {
        QFETCH(bool, goOn);
        m_page->chooseDrug(QStringLiteral("AMOXICILLINE 1 g"), QStringLiteral("A"));
        click("Ok");
        const QString before = prescription();
        m_page->chooseDrug(QStringLiteral("LEXOMIL"), QStringLiteral("b"));
        choose("nbre", QStringLiteral("1 cp"));
        goOn ? m_dialogs->answerYes() : m_dialogs->answerNo();
        click("Ok");
        QCOMPARE(m_dialogs->requests().size(), 1);
        QCOMPARE(m_dialogs->requests().at(0).kind, QStringLiteral("yesno"));
        QCOMPARE(m_dialogs->requests().at(0).text,
                 QStringLiteral("Attention!!! Interaction médicamenteuse !!!Voulez-vous continuer?"));
        QVERIFY(m_page->pickedClasses().isEmpty());
        QVERIFY(choice().isEmpty());
        QCOMPARE(control<RadioGroup>("nbre")->itemIndex(), -1);
        if (goOn) {
            QVERIFY(prescription().startsWith(before + QStringLiteral("- LEXOMIL \r\n")));
            QVERIFY(m_practice->consultations.text(QStringLiteral("Consultation")).endsWith(QStringLiteral("\rLEXOMIL")));
        } else {
            QCOMPARE(prescription(), before);
            QCOMPARE(m_practice->consultations.text(QStringLiteral("Consultation")), QStringLiteral("\rAMOXICILLINE 1 g"));
        }
    }

    void picksBeforeValidationCountToo()
    {
        m_page->chooseDrug(QStringLiteral("AMOXICILLINE 1 g"), QStringLiteral("A"));
        m_page->chooseDrug(QStringLiteral("LEXOMIL"), QStringLiteral("B"));
        m_dialogs->answerYes();
        click("Ok");
        QCOMPARE(prescriptionLinesOf(prescription()).size(), 5);
        // Without both classes the list is left as it is.
        m_page->chooseDrug(QStringLiteral("ZOLOFT"), QStringLiteral("A"));
        click("Ok");
        QCOMPARE(m_page->pickedClasses(), QStringList{QStringLiteral("A")});
    }

    void contraIndicatedPick()
    {
        setPastIllnesses(QStringLiteral("HTA\r\nallergie PENICILLINE G"));
        m_page->chooseDrug(QStringLiteral("PENICILLINE G"), QStringLiteral("A"));
        QCOMPARE(m_dialogs->texts(),
                 QStringList{QStringLiteral("Attention !\nIl y a une contre-indication à l'utilisation du "
                                            "médicament\nPENICILLINE G")});
        QVERIFY(choice().isEmpty());
        QCOMPARE(m_page->pickedClasses(), QStringList{QStringLiteral("A")});
        m_page->chooseDrug(QStringLiteral("PENICILLINE V"), QString());
        QCOMPARE(m_dialogs->requests().size(), 1);
        QCOMPARE(choice(), QStringLiteral("PENICILLINE V"));
    }

    void typedNameIsCheckedWhenTypingEnds()
    {
        setPastIllnesses(QStringLiteral("HTA\r\nallergie PENICILLINE G"));
        QLineEdit *edit = control<QLineEdit>("Edit6");
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("PENICILLINE G"));
        QVERIFY(m_dialogs->requests().isEmpty()); // "P", "PE", ... are not refused on the way
        click("Ok");
        QCOMPARE(m_dialogs->requests().size(), 1);
        QCOMPARE(m_dialogs->requests().at(0).kind, QStringLiteral("message"));
        QVERIFY(choice().isEmpty());
        QVERIFY(prescription().isEmpty());
        QVERIFY(m_practice->consultations.isEmpty());

        QTest::keyClicks(edit, QStringLiteral("HTA"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(m_dialogs->requests().size(), 2);
        QVERIFY(choice().isEmpty());

        QTest::keyClicks(edit, QStringLiteral("DOLIPRANE"));
        click("Ok");
        QCOMPARE(m_dialogs->requests().size(), 2);
        QVERIFY(prescription().startsWith(QStringLiteral("- DOLIPRANE \r\n")));
    }

    void separatorAndCancel()
    {
        click("IEButton24");
        m_page->Button1Click();
        QCOMPARE(prescription(), QStringLiteral("<non 100%>\r\n<non 100%>\r\n"));
        QVERIFY(!control<QToolButton>("IEButton18")->isEnabled());
        QVERIFY(!control<QToolButton>("IEButton20")->isEnabled());
        QVERIFY(control<QToolButton>("IEButton19")->isEnabled());
        m_page->chooseDrug(QStringLiteral("ZOLOFT"), QStringLiteral("B"));
        click("IEButton21");
        QVERIFY(control<QToolButton>("IEButton18")->isEnabled());
        QVERIFY(control<QToolButton>("IEButton20")->isEnabled());
        QVERIFY(choice().isEmpty());
        QCOMPARE(prescription(), QStringLiteral("<non 100%>\r\n<non 100%>\r\n"));
        QCOMPARE(m_page->pickedClasses(), QStringList{QStringLiteral("B")});
    }

    void printing()
    {
        m_page->chooseDrug(QStringLiteral("ZOLOFT"), QString());
        choose("arenouv", QStringLiteral("2 fois"));
        click("Ok");
        const QString text = prescription();
        click("IEButton18");
        QCOMPARE(m_printing->jobs, QStringList{QStringLiteral("plain|") + text + QStringLiteral("|Ordonnance à renouveler: 2 fois")});
        QVERIFY(prescription().isEmpty());
        QCOMPARE(m_page->renewalText(), QStringLiteral("Ordonnance à renouveler: 2 fois"));

        m_page->setPrescriptionText(QStringLiteral("a\r\nb"));
        m_page->Button1Click();
        click("IEButton19");
        QCOMPARE(m_printing->jobs.last(), QStringLiteral("100%|a\r\nb\r\n<non 100%>|Ordonnance à renouveler: 2 fois"));
        QVERIFY(control<QToolButton>("IEButton18")->isEnabled());
        QVERIFY(prescription().isEmpty());

        m_page->setPrescriptionText(QStringLiteral("apte au sport"));
        click("IEButton20");
        QCOMPARE(m_printing->jobs.last(), QStringLiteral("certificate|apte au sport|"));

        // The menu's "&Valider" prints even while the button is disabled; a failed print keeps the text.
        m_page->setPrescriptionText(QStringLiteral("gardé"));
        m_page->setPlainPrintingEnabled(false);
        m_printing->failing = true;
        QVERIFY_THROWS_EXCEPTION(Error, m_page->BitBtn4Click());
        QCOMPARE(prescription(), QStringLiteral("gardé"));
        m_printing->failing = false;
        m_page->BitBtn4Click();
        QCOMPARE(m_printing->jobs.last(), QStringLiteral("plain|gardé|Ordonnance à renouveler: 2 fois"));
    }

    void signalsAndHprimButton()
    {
        QToolButton *hprim = control<QToolButton>("hprim");
        QToolButton *vidal = control<QToolButton>("vidal");
        QVERIFY(!hprim->isEnabled());
        QVERIFY(!vidal->isEnabled());
        QSignalSpy hprimSpy(m_page.get(), &PrescriptionPage::hprimRequested);
        QSignalSpy vidalSpy(m_page.get(), &PrescriptionPage::vidalRequested);
        QSignalSpy lastSpy(m_page.get(), &PrescriptionPage::lastPrescriptionRequested);
        m_page->appendToPrescription(QStringLiteral("NFS"));
        QVERIFY(hprim->isEnabled());
        click("hprim");
        click("vidal");
        QCOMPARE(vidalSpy.count(), 0);
        m_page->setVidalAvailable(true);
        click("vidal");
        click("IEButton23");
        QCOMPARE(hprimSpy.count(), 1);
        QCOMPARE(vidalSpy.count(), 1);
        QCOMPARE(lastSpy.count(), 1);
        m_page->clearPrescription();
        QVERIFY(!hprim->isEnabled());
    }

    void models()
    {
        const QString folder = modelFolder(ModelKind::Bilan);
        QVERIFY(QDir().mkpath(folder));
        QFile model(folder + QStringLiteral("/glycemie.txt"));
        QVERIFY(model.open(QIODevice::WriteOnly));
        model.write("Glyc\xe9mie\r\nHbA1c\r\nCr\xe9" "atinine\r\n");
        model.close();
        m_page->setPrescriptionText(QStringLiteral("NFS\r\nVS"));
        m_dialogs->answerFile(model.fileName());
        click("IEButton10");
        QCOMPARE(prescription(), QStringLiteral("NFS\r\nVS\r\nGlycémie\r\nHbA1c\r\nCréatinine\r\n"));
        QCOMPARE(m_dialogs->requests().last().title, QStringLiteral("Ouverture d'un modèle de Bilan"));

        m_dialogs->answerCancel();
        click("IEButton11");
        QCOMPARE(prescriptionLinesOf(prescription()).size(), 5);

        QFile binary(folder + QStringLiteral("/photo.jpg"));
        QVERIFY(binary.open(QIODevice::WriteOnly));
        binary.write(QByteArray("\xff\xd8\xff\x00\x10", 5));
        binary.close();
        m_dialogs->answerFile(binary.fileName());
        QVERIFY_THROWS_EXCEPTION(Error, m_page->IEButton10Click());
        QCOMPARE(prescriptionLinesOf(prescription()).size(), 5);

        const QString saved = modelFolder(ModelKind::Certificate) + QStringLiteral("/bilan.txt");
        QVERIFY(QDir().mkpath(modelFolder(ModelKind::Certificate)));
        m_dialogs->answerFile(saved);
        click("IEButton13");
        QFile written(saved);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("NFS\r\nVS\r\nGlyc\xe9mie\r\nHbA1c\r\nCr\xe9" "atinine\r\n"));
        QCOMPARE(prescriptionLinesOf(prescription()).size(), 5);
    }

private:
    static QStringList prescriptionLinesOf(const QString &text) { return splitLines(text); }
};

QTEST_MAIN(TestPrescriptionPage)
#include "test_prescriptionpage.moc"
