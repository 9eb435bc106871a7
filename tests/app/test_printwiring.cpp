#include "app/settingsstore.h"
#include "app/torvane.h"
#include "printingchecks.h"
#include "platform/error.h"
#include "platform/places.h"
#include "prescribing/prescriptionpage.h"
#include "prescribing/printfiles.h"
#include "prescribing/qprintersurface.h"
#include "prescribing/timprime.h"
#include "prescribing/tmarges.h"
#include "prescribing/tordonnance.h"
#include "records/currentpatient.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/newpatient.h"
#include "support/pdfwords.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <functional>

using namespace orvane;
using orvane::prescribing::PrescriptionPage;

namespace {

using CloseDialog = std::function<void(QDialog &)>;

const CloseDialog byCloseBox = [](QDialog &dialog) { dialog.close(); };
const CloseDialog byEscape = [](QDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); };

CloseDialog byButton(const QString &name)
{
    return [name](QDialog &dialog) { dialog.findChild<QAbstractButton *>(name)->click(); };
}

QString stored(const QString &name)
{
    return places::registryKey(app::SettingsStore::keyName)->value(name).toString();
}

} // namespace

Q_DECLARE_METATYPE(CloseDialog)

// The two print settings dialogs of the main window, and printing from the prescriptions tab
// through the program's own printer.
class TestPrintWiring : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    test::ScriptedDialogService m_dialogs;
    test::FixedClock m_clock;
    std::unique_ptr<app::TOrvane> m_window;
    app::ProgramWindows m_windows;

    QAction *menuAction(const QString &text) const
    {
        for (QAction *action : m_window->menuBar()->findChildren<QAction *>()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    PrescriptionPage &page() const { return *m_window->prescriptionPage(); }
    QString prescriptionShown() const { return test::prescriptionShown(*m_window); }
    QString archivedPrescription() const { return test::archivedPrescription(m_base->db()); }
    // With no printer the patient's jobs are written into his folder of prints.
    QDir patientPrints() const { return test::patientPrints(*m_window); }
    QStringList printedFiles() const
    {
        return patientPrints().entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }
    QStringList wordsOfJob(const QString &kind) const
    {
        const QDir folder = patientPrints();
        const QList<test::PdfPage> pages = test::readPdfPages(folder.filePath(QStringLiteral("2006-03-15 10h30m00 %1.pdf").arg(kind)));
        QStringList words;
        for (const test::PdfPage &page : pages) {
            for (const test::PdfWord &word : page.words)
                words.append(word.text);
        }
        return words;
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_dialogs.clear();
        m_window = std::make_unique<app::TOrvane>(m_base->db(), m_dialogs, m_clock, m_base->home());
        m_windows = app::ProgramWindows();
        m_windows.imprime = new prescribing::TImprime(m_window.get());
        m_windows.marges = new prescribing::TMarges(m_window.get());
        m_windows.ordonnance = new prescribing::Tordonnance(m_dialogs, m_window.get());
        m_window->setWindows(m_windows);
        m_window->printerSurface().printer().setOutputFormat(QPrinter::PdfFormat);
        test::addPatient(m_window->patient(), QStringLiteral("ABEL"), QStringLiteral("Louise"));
    }
    void cleanup()
    {
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        m_window.reset();
        m_base.reset();
    }

    void letterheadDialogStoresWhatWasTyped_data()
    {
        QTest::addColumn<CloseDialog>("close");
        QTest::newRow("OK") << byButton(QStringLiteral("BitBtn1"));
        QTest::newRow("close box") << byCloseBox;
        QTest::newRow("Escape") << byEscape;
    }
    void letterheadDialogStoresWhatWasTyped()
    {
        QFETCH(CloseDialog, close);
        QString shownDiploma;
        m_dialogs.answerModal([&](QDialog &dialog) {
            shownDiploma = dialog.findChild<QLineEdit *>(QStringLiteral("Edit2"))->text();
            dialog.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("Docteur Paul ROUX"));
            dialog.findChild<QLineEdit *>(QStringLiteral("Edit4"))->clear();
            dialog.findChild<QLineEdit *>(QStringLiteral("Edit8"))->setText(QStringLiteral("Tél. : 02 99 00 11 22"));
            dialog.findChild<QObject *>(QStringLiteral("aga"))->findChildren<QRadioButton *>().at(1)->click();
            close(dialog);
        });
        menuAction(QStringLiteral("Entête Ordonnance"))->trigger();

        const app::Letterhead defaults;
        QCOMPARE(shownDiploma, defaults.diplome);
        QCOMPARE(stored(QStringLiteral("Identifiant")), QStringLiteral("Docteur Paul ROUX"));
        QCOMPARE(stored(QStringLiteral("Libre 1")), QString());
        QCOMPARE(stored(QStringLiteral("Téléphone")), QStringLiteral("Tél. : 02 99 00 11 22"));
        QCOMPARE(stored(QStringLiteral("Diplôme")), defaults.diplome);
        QCOMPARE(stored(QStringLiteral("Aga")), QStringLiteral("1"));
        QCOMPARE(m_window->settingsStore().settings().letterhead.identifiant, QStringLiteral("Docteur Paul ROUX"));
        QCOMPARE(m_window->settingsStore().settings().letterhead.aga, 1);
        // The margins belong to the other dialog and stay out of the key.
        QVERIFY(!places::registryKey(app::SettingsStore::keyName)->contains(QStringLiteral("Marge Gauche")));
    }

    void letterheadMembershipChoice_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("not a member") << 1 << 1 << "1";
        QTest::newRow("unknown value") << 7 << -1 << "-1";
    }
    void letterheadMembershipChoice()
    {
        QFETCH(int, before);
        QFETCH(int, shown);
        QFETCH(QString, storedAfter);
        app::Letterhead letterhead = m_window->settingsStore().settings().letterhead;
        letterhead.aga = before;
        m_window->settingsStore().writeLetterhead(letterhead);
        int shownIndex = -2;
        m_dialogs.answerModal([&](QDialog &dialog) {
            const QList<QRadioButton *> choices =
                dialog.findChild<QObject *>(QStringLiteral("aga"))->findChildren<QRadioButton *>();
            shownIndex = choices.at(0)->isChecked() ? 0 : choices.at(1)->isChecked() ? 1 : -1;
            dialog.close();
        });
        m_window->EntteOrdonnance1Click();
        QCOMPARE(shownIndex, shown);
        QCOMPARE(stored(QStringLiteral("Aga")), storedAfter);
    }

    void letterheadPreviewAndFonts()
    {
        QFont chosen(QStringLiteral("Courier"), 20);
        m_dialogs.answerModal([&](QDialog &dialog) {
            auto *preview = dialog.findChild<QLabel *>(QStringLiteral("Panel2"));
            QCOMPARE(preview->text(), app::Letterhead().identifiant);
            QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("Panel9"))->text(), app::Letterhead().telephone);
            QVERIFY(preview->font().bold());
            // The preview follows typing at once.
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::mouseClick(dialog.findChild<QLineEdit *>(QStringLiteral("Edit1")), Qt::LeftButton);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Docteur Paul ROUX"));
            QCOMPARE(preview->text(), QStringLiteral("Docteur Paul ROUX"));

            dialog.findChild<QAbstractButton *>(QStringLiteral("Button1"))->click();
            QCOMPARE(preview->font().family(), chosen.family());
            QCOMPARE(preview->font().pointSize(), 20);
            dialog.close();
        });
        m_dialogs.answerFont(chosen);
        m_window->EntteOrdonnance1Click();
        QCOMPARE(m_dialogs.requests().at(1).kind, QStringLiteral("font"));
        QCOMPARE(stored(QStringLiteral("Identifiant")), QStringLiteral("Docteur Paul ROUX"));
    }

    void marginsDialogWritesAllFiveValues_data()
    {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("bars");
        QTest::addColumn<CloseDialog>("close");
        QTest::addColumn<QList<int>>("storedAfter");
        const QList<int> defaults{150, 150, 50, 100, 100};
        QTest::newRow("OK after moving the bars")
            << defaults << QList<int>{300, 0, 600, 115, 150} << byButton(QStringLiteral("Button1"))
            << QList<int>{300, 0, 600, 115, 150};
        QTest::newRow("close box after moving the bars")
            << defaults << QList<int>{300, 0, 600, 115, 150} << byCloseBox << defaults;
        QTest::newRow("OK with values outside the bars")
            << QList<int>{700, -5, 50, 1, 250} << QList<int>() << byButton(QStringLiteral("Button1"))
            << QList<int>{600, 0, 50, 100, 200};
        QTest::newRow("close box with values outside the bars")
            << QList<int>{700, -5, 50, 1, 250} << QList<int>() << byCloseBox << QList<int>{700, -5, 50, 1, 250};
    }
    void marginsDialogWritesAllFiveValues()
    {
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, bars);
        QFETCH(CloseDialog, close);
        QFETCH(QList<int>, storedAfter);
        if (before != QList<int>{150, 150, 50, 100, 100})
            m_window->settingsStore().writeMargins({before[0], before[1], before[2], before[3], before[4]});
        m_dialogs.answerModal([&](QDialog &dialog) {
            for (int i = 0; i < bars.size(); ++i)
                dialog.findChild<QSlider *>(QStringLiteral("TrackBar%1").arg(i + 1))->setValue(bars[i]);
            // Each bar shows its value in figures.
            for (int i = 0; i < prescribing::TMarges::barCount; ++i) {
                QCOMPARE(dialog.findChild<QSpinBox *>(QStringLiteral("Valeur%1").arg(i + 1))->value(),
                         dialog.findChild<QSlider *>(QStringLiteral("TrackBar%1").arg(i + 1))->value());
            }
            close(dialog);
        });
        menuAction(QStringLiteral("&Marges Imprimante"))->trigger();

        const QStringList names{QStringLiteral("Marge Gauche"), QStringLiteral("Marge Droite"),
                                QStringLiteral("Marge Bas"), QStringLiteral("Espacement"), QStringLiteral("Intervalle")};
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(stored(names[i]), QString::number(storedAfter[i]));
        const app::PrintMargins margins = m_window->settingsStore().settings().margins;
        QCOMPARE((QList<int>{margins.left, margins.right, margins.bottom, margins.horizontalSpacing,
                             margins.lineSpacing}),
                 storedAfter);
    }

    void normalPrintsTheTextWithItsDuplicateAndEmptiesIt()
    {
        if (!test::pdfToTextAvailable())
            QSKIP("pdftotext (poppler-utils) is not installed");
        // A letterhead changed in its dialog applies to the next print.
        m_dialogs.answerModal([](QDialog &dialog) {
            dialog.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("Docteur Paul ROUX"));
            dialog.close();
        });
        m_window->EntteOrdonnance1Click();
        page().setPrescriptionText(QStringLiteral("AMOXICILLINE 1 g\r\n1 gélule matin et soir"));
        page().findChild<QLineEdit *>(QStringLiteral("Edit5"))->setText(QStringLiteral("Ordonnance à renouveler: 2 fois"));

        menuAction(QStringLiteral("&Valider"))->trigger();

        QCOMPARE(printedFiles().size(), 2);
        for (int job = 0; job < 2; ++job) {
            const QStringList words = wordsOfJob(job == 0 ? QStringLiteral("ordonnance") : QStringLiteral("ordonnance duplicata"));
            for (const char *word : {"ROUX", "ABEL", "AMOXICILLINE", "gélule", "renouveler:"})
                QVERIFY2(words.contains(QString::fromUtf8(word)), word);
            QCOMPARE(words.contains(QStringLiteral("DUPLICATA")), job == 1);
        }
        QCOMPARE(archivedPrescription(), QStringLiteral("AMOXICILLINE 1 g\r\n1 gélule matin et soir"));
        QCOMPARE(prescriptionShown(), QString());
        QVERIFY(!m_windows.imprime->isVisible());
    }

    void aPrintWithNoLineOnThePageKeepsTheTextUnfiled()
    {
        m_window->settingsStore().writeMargins({150, 150, 50, 100, 5000});
        page().setPrescriptionText(QStringLiteral("LEVOTHYROX 75"));
        const QString message = test::printFailure(page(), QStringLiteral("IEButton18"));
        QVERIFY2(message.contains(QStringLiteral("hors de la page")), qPrintable(message));
        QCOMPARE(prescriptionShown(), QStringLiteral("LEVOTHYROX 75"));
        QCOMPARE(archivedPrescription(), QStringLiteral("<no row>"));
        QVERIFY(printedFiles().isEmpty());
    }

    void aPrinterErrorKeepsTheTextAndTheArchiveRow_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("archived");
        QTest::newRow("Normal") << "IEButton18" << "LEVOTHYROX 75";
        QTest::newRow("100%") << "IEButton19" << "LEVOTHYROX 75";
        QTest::newRow("Certif.") << "IEButton20" << "<no row>";
    }
    void aPrinterErrorKeepsTheTextAndTheArchiveRow()
    {
        QFETCH(QString, button);
        QFETCH(QString, archived);
        // The folder that receives the jobs cannot be made: the printing system refuses the job.
        QFile blocker(prescribing::PrintFiles::folder());
        QVERIFY(QDir().mkpath(QFileInfo(blocker.fileName()).path()));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        page().setPrescriptionText(QStringLiteral("LEVOTHYROX 75"));

        const QString message = test::printFailure(page(), button);
        QVERIFY2(message.startsWith(QStringLiteral("Impossible de créer le dossier")), qPrintable(message));
        QCOMPARE(prescriptionShown(), QStringLiteral("LEVOTHYROX 75"));
        QCOMPARE(archivedPrescription(), archived);
        QVERIFY(!m_windows.imprime->isVisible());
        QCOMPARE(m_window->patient().archive().state(), records::Table::State::Browse);
    }
};

QTEST_MAIN(TestPrintWiring)
#include "test_printwiring.moc"
