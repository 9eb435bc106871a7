#include "clinical/picklist.h"
#include "clinical/picklists.h"
#include "clinical/tbetablocants.h"
#include "platform/error.h"
#include "records/currentpatient.h"
#include "records/dbgrid.h"
#include "records/table.h"
#include "support/newpatient.h"
#include "support/scripteddialogservice.h"
#include "support/storedrow.h"
#include "support/testdatabase.h"
#include "support/widgetdriver.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace orvane;
using namespace orvane::clinical;
using records::Table;

namespace {

void addRows(Table &table, const QStringList &fields, const QList<QStringList> &rows)
{
    for (const QStringList &row : rows) {
        table.insert();
        for (int i = 0; i < fields.size(); ++i)
            table.setText(fields.at(i), row.at(i));
        table.post();
    }
    table.first();
}

QStringList words(const QString &table, const QString &field, records::Database &db)
{
    Table reader(db, table);
    reader.open();
    QStringList all;
    for (reader.first(); !reader.isEmpty() && !reader.atEnd(); reader.next())
        all << reader.text(field);
    return all;
}

} // namespace

// The pick lists of the identity and prescription tabs, and the list editor, on a real database.
class TestPickLists : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<records::CurrentPatient> m_patient;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<PickLists> m_lists;
    QLineEdit *m_tabs = nullptr;
    test::ScriptedDialogService m_dialogs;

    template<typename T>
    T *control(const QString &name) const
    {
        return test::namedChild<T>(m_window.get(), name);
    }
    void clickLetter(const QString &column, const QString &letter) { test::clickItem(control<QListWidget>(column), letter); }
    void doubleClickGrid(const QString &name) { test::doubleClickCurrentRow(control<records::DbGrid>(name)); }
    QString highlightedWord(const QString &gridName) const
    {
        return test::highlightedText(control<records::DbGrid>(gridName));
    }
    static QPlainTextEdit *memo(const QString &name, QWidget *parent)
    {
        auto *text = new QPlainTextEdit(parent);
        text->setObjectName(name);
        return text;
    }
    QString storedText(const QString &table, const QString &field) const
    {
        return test::storedField(m_base->db(), table, m_patient->patients().number(records::recordNumberField), field);
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_dialogs.clear();
        m_patient = std::make_unique<records::CurrentPatient>(m_base->db());
        m_patient->open();
        test::addPatient(*m_patient, QStringLiteral("DUPONT"), QStringLiteral("Jean"));
        addRows(m_patient->historyWords(), {QStringLiteral("Mots")},
                {{QStringLiteral("Appendicectomie")}, {QStringLiteral("Diabète")}, {QStringLiteral("Ménisque")},
                 {QStringLiteral("Quadriceps")}, {QStringLiteral("Varices")}});
        addRows(m_patient->drugs(), {QStringLiteral("Marque"), QStringLiteral("Posologie"), QStringLiteral("Classe")},
                {{QStringLiteral("Aspirine"), QStringLiteral("1 cp"), QString()},
                 {QStringLiteral("Propranolol"), QStringLiteral("1 cp le matin"), QStringLiteral("B")}});

        // The frames the identity tab gives: a treatment box and history pages with a row layout.
        m_window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(m_window.get());
        m_tabs = new QLineEdit(m_window.get());
        auto *treatmentBox = new QGroupBox(m_window.get());
        (new QVBoxLayout(treatmentBox))->addWidget(memo(QStringLiteral("gen"), treatmentBox));
        auto *history = new QTabWidget(m_window.get());
        for (const auto &[title, name] : {std::pair{"&Médicaux", "med"}, std::pair{"&Chirurgicaux", "chir"}}) {
            auto *page = new QWidget(history);
            (new QHBoxLayout(page))->addWidget(memo(QString::fromLatin1(name), page));
            history->addTab(page, QString::fromUtf8(title));
        }
        layout->addWidget(m_tabs);
        layout->addWidget(treatmentBox);
        layout->addWidget(history);
        m_lists = std::make_unique<PickLists>(*m_patient, treatmentBox, history);
        m_lists->setFocusTarget(m_tabs);
        layout->addWidget(m_lists->drugChoice());
        m_window->resize(600, 700);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_lists.reset();
        m_window.reset();
        m_patient.reset();
        m_base.reset();
    }

    void theTwoHistoryGridsShareOneRow()
    {
        m_window->findChild<QTabWidget *>()->setCurrentIndex(1);
        clickLetter(QStringLiteral("alphabrt3"), QStringLiteral("M"));
        QCOMPARE(m_patient->historyWords().text(QStringLiteral("Mots")), QStringLiteral("Ménisque"));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(QStringLiteral("motchir")));
        QCOMPARE(highlightedWord(QStringLiteral("motsmed")), QStringLiteral("Ménisque"));
        QTest::keyClicks(control<QLineEdit>(QStringLiteral("Recherchemed")), QStringLiteral("q"));
        QCOMPARE(highlightedWord(QStringLiteral("motchir")), QStringLiteral("Quadriceps"));
    }

    void aPickedWordGoesToItsTextAndIsStored_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("past illness") << "Recherchemed" << "motsmed" << records::tables::history
                                      << "Antécédents médicaux" << "Diabète" << "med" << false;
        QTest::newRow("past operation, Enter") << "Recherchechir" << "motchir" << records::tables::history
                                               << "Antécédents chirugicaux" << "Varices" << "chir" << true;
        QTest::newRow("treatment, Enter") << "recherche2" << "tttmed" << records::tables::treatments
                                          << "Traitement général" << "Propranolol" << "gen" << true;
    }
    void aPickedWordGoesToItsTextAndIsStored()
    {
        QFETCH(QString, search);
        QFETCH(QString, grid);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, word);
        QFETCH(QString, memo);
        QFETCH(bool, byEnter);
        if (memo == QStringLiteral("chir"))
            m_window->findChild<QTabWidget *>()->setCurrentIndex(1);
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        Table &target = table == records::tables::history ? m_patient->history() : m_patient->treatments();
        target.edit();
        target.setText(field, QStringLiteral("Fièvre"));
        target.post();
        control<QLineEdit>(search)->setFocus();
        test::typeKeys(word.left(2));
        if (byEnter) {
            test::pressKey(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), control<QWidget>(grid));
            test::pressKey(Qt::Key_Return);
        } else {
            doubleClickGrid(grid);
        }
        QCOMPARE(storedText(table, field), QStringLiteral("Fièvre\r\n") + word);
        QVERIFY(control<QLineEdit>(search)->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(memo));
    }

    void theDrugGridHandsOverTheBrandAndTheClass()
    {
        QSignalSpy chosen(m_lists.get(), &PickLists::drugChosen);
        QTest::keyClicks(control<QLineEdit>(QStringLiteral("recherche")), QStringLiteral("pro"));
        doubleClickGrid(QStringLiteral("Vaso"));
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first(), (QVariantList{QStringLiteral("Propranolol"), QStringLiteral("B")}));
        QVERIFY(control<QLineEdit>(QStringLiteral("recherche"))->text().isEmpty());
        // The treatments grid stands on the same drug row.
        QCOMPARE(control<QLineEdit>(QStringLiteral("recherche2"))->text(), QString());
        QCOMPARE(m_patient->drugs().text(QStringLiteral("Marque")), QStringLiteral("Propranolol"));
        auto *vaso = control<records::DbGrid>(QStringLiteral("Vaso"));
        QCOMPARE(vaso->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Posologie"));
    }

    void theEditorShowsEveryFieldAndStoresTypedRows()
    {
        Tbetablocants editor(m_base->db(), m_dialogs);
        m_dialogs.answerModal([this](QDialog &window) {
            auto &shown = static_cast<Tbetablocants &>(window);
            QCOMPARE(shown.grid()->model()->columnCount(), 3);
            window.findChild<QToolButton *>(QStringLiteral("nbInsert"))->click();
            records::DbGrid *grid = shown.grid();
            grid->model()->setData(grid->model()->index(grid->windowModel()->currentIndex(), 0), QStringLiteral("Bisoprolol"));
            grid->model()->setData(grid->model()->index(grid->windowModel()->currentIndex(), 2), QStringLiteral("b"));
            window.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        });
        editor.editList(QStringLiteral("Orvane.db"), QStringLiteral("Liste des Médicaments"), 87, 658);
        QVERIFY(!editor.table().isOpen());
        QCOMPARE(words(records::tables::drugs, QStringLiteral("Marque"), m_base->db()),
                 (QStringList{"Aspirine", "Bisoprolol", "Propranolol"}));
    }

    void theEditorIsDrivenFromTheKeyboardLikeASheet()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("closeEditor")));
        Tbetablocants editor(m_base->db(), m_dialogs);
        m_dialogs.answerModal([](QDialog &window) {
            QVERIFY(QTest::qWaitForWindowActive(&window));
            records::DbGrid *grid = static_cast<Tbetablocants &>(window).grid();
            const auto current = [grid] {
                return std::pair{test::highlightedText(grid), grid->currentIndex().column()};
            };
            const auto plus = [&window] {
                QTest::mouseClick(window.findChild<QToolButton *>(QStringLiteral("nbInsert")), Qt::LeftButton);
            };
            plus();
            test::typeKeys(QStringLiteral("Bisoprolol"));
            test::pressKey(Qt::Key_Tab);
            test::typeKeys(QStringLiteral("1 cp le soir"));
            test::pressKey(Qt::Key_Return); // stored; the marker stays on the row typed
            QVERIFY(window.isVisible());
            QCOMPARE(current(), std::pair(QStringLiteral("Bisoprolol"), 1));
            QCOMPARE(grid->model()->headerData(grid->currentIndex().row(), Qt::Vertical).toString(), QStringLiteral("▶"));
            // Only the cell is highlighted, so that it shows which one typing goes into.
            QCOMPARE(grid->selectionModel()->selectedIndexes(), QModelIndexList{grid->currentIndex()});
            // From the last column Tab opens a new row instead of the next one, Propranolol.
            test::pressKey(Qt::Key_Tab);
            test::typeKeys(QStringLiteral("b"));
            test::pressKey(Qt::Key_Tab);
            QCOMPARE(current(), std::pair(QString(), 0));
            test::typeKeys(QStringLiteral("Zyrtec"));
            test::pressKey(Qt::Key_Return);
            // Down from the last row opens a new row too; "+" starts in the first column.
            test::pressKey(Qt::Key_Down);
            QCOMPARE(current(), std::pair(QString(), 0));
            test::typeKeys(QStringLiteral("Xanax"));
            test::pressKey(Qt::Key_Tab);
            plus();
            test::typeKeys(QStringLiteral("Atenolol"));
            test::pressKey(Qt::Key_Return);
            QCOMPARE(current(), std::pair(QStringLiteral("Atenolol"), 0));
            QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        });
        editor.editList(QStringLiteral("Orvane.db"), QStringLiteral("Liste des Médicaments"), 87, 658);
        QCOMPARE(words(records::tables::drugs, QStringLiteral("Marque"), m_base->db()),
                 (QStringList{"Aspirine", "Atenolol", "Bisoprolol", "Propranolol", "Xanax", "Zyrtec"}));
        QCOMPARE(words(records::tables::drugs, QStringLiteral("Posologie"), m_base->db()),
                 (QStringList{"1 cp", "", "1 cp le soir", "1 cp le matin", "", ""}));
        QCOMPARE(words(records::tables::drugs, QStringLiteral("Classe"), m_base->db()),
                 (QStringList{"", "", "b", "B", "", ""}));
    }

    void aOneColumnListGrowsFromItsLastRow()
    {
        Tbetablocants editor(m_base->db(), m_dialogs);
        m_dialogs.answerModal([](QDialog &window) {
            QVERIFY(QTest::qWaitForWindowActive(&window));
            records::DbGrid *grid = static_cast<Tbetablocants &>(window).grid();
            QCOMPARE(QApplication::focusWidget(), grid); // typing can start at once
            test::pressKey(Qt::Key_End, Qt::ControlModifier);
            QCOMPARE(test::highlightedText(grid), QStringLiteral("Varices"));
            test::pressKey(Qt::Key_Down);
            test::typeKeys(QStringLiteral("Toux"));
            test::pressKey(Qt::Key_Tab);
            test::typeKeys(QStringLiteral("Zona"));
            test::pressKey(Qt::Key_Escape); // the cell goes back to empty
            test::pressKey(Qt::Key_Escape); // and the window closes without the empty row
        });
        editor.editList(QStringLiteral("MotsMed.db"), QStringLiteral("Antécédents"), 237, 354);
        QCOMPARE(words(records::tables::historyWords, QStringLiteral("Mots"), m_base->db()),
                 (QStringList{"Appendicectomie", "Diabète", "Ménisque", "Quadriceps", "Toux", "Varices"}));
    }

    void theEditorDeletesOnlyAfterTheQuestion()
    {
        Tbetablocants editor(m_base->db(), m_dialogs);
        m_dialogs.answerModal([this](QDialog &window) {
            m_dialogs.answerNo();
            window.findChild<QToolButton *>(QStringLiteral("nbDelete"))->click();
            m_dialogs.answerYes();
            window.findChild<QToolButton *>(QStringLiteral("nbDelete"))->click();
            window.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        });
        editor.editList(QStringLiteral("MotsMed.db"), QStringLiteral("Antécédents"), 237, 354);
        QCOMPARE(m_dialogs.texts().mid(1), (QStringList{"Supprimer l'enregistrement ?", "Supprimer l'enregistrement ?"}));
        QCOMPARE(words(records::tables::historyWords, QStringLiteral("Mots"), m_base->db()),
                 (QStringList{"Diabète", "Ménisque", "Quadriceps", "Varices"}));
    }

    void aRowRefusedByTheStoreIsReportedAndTheOthersStay()
    {
        Tbetablocants editor(m_base->db(), m_dialogs);
        m_dialogs.answerModal([this, &editor](QDialog &) {
            m_base->refuseWrites(records::tables::historyWords);
            Table &table = editor.table();
            table.edit();
            table.setText(QStringLiteral("Mots"), QStringLiteral("Appendicite"));
            QVERIFY_THROWS_EXCEPTION(Error, editor.BitBtn1Click());
            QVERIFY(editor.isVisible());
            editor.cancelRow();
            editor.BitBtn1Click();
        });
        editor.editList(QStringLiteral("MotsMed.db"), QStringLiteral("Antécédents"), 237, 354);
        QCOMPARE(words(records::tables::historyWords, QStringLiteral("Mots"), m_base->db()),
                 (QStringList{"Appendicectomie", "Diabète", "Ménisque", "Quadriceps", "Varices"}));
    }

    void eachUseReopensTheEditorOnTheChosenList()
    {
        Tbetablocants editor(m_base->db(), m_dialogs);
        m_dialogs.answerModal([](QDialog &) {});
        editor.editList(QStringLiteral("Orvane.db"), QStringLiteral("Liste des Médicaments"), 87, 658);
        m_dialogs.answerModal([](QDialog &window) {
            auto &shown = static_cast<Tbetablocants &>(window);
            QCOMPARE(shown.table().tableName(), QStringLiteral("MotsMed.db"));
            QCOMPARE(shown.grid()->model()->columnCount(), 1);
            QCOMPARE(window.findChildren<records::DbGrid *>().size(), 1);
        });
        editor.editList(QStringLiteral("MotsMed.db"), QStringLiteral("Antécédents"), 237, 354);
        QVERIFY(!editor.table().isOpen()); // closed by the window's close box too
    }
};

QTEST_MAIN(TestPickLists)
#include "test_picklists.moc"
