#include "messaging/addressbook.h"
#include "messaging/correspondencefolders.h"
#include "platform/error.h"
#include "platform/places.h"
#include "records/alias.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

using namespace orvane::messaging;

class TestAddressBook : public QObject
{
    Q_OBJECT

private:
    orvane::test::TemporaryHome m_home;
    QString m_path;

    void writeFile(const QByteArray &bytes)
    {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray fileBytes() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList names(const AddressBook &book) const
    {
        QStringList result;
        for (const Correspondent &c : book.correspondents())
            result.append(c.name);
        return result;
    }

private slots:
    void init()
    {
        m_path = m_home.path() + QStringLiteral("/hprim.ini");
        QFile::remove(m_path);
    }

    // Two rooms of a practice write into the folder "alias.ini" names as shared: neither loses what
    // the other wrote.
    void twoRoomsWritingInTheSharedFolderLoseNothing()
    {
        const QString shared = m_home.path() + QStringLiteral("/cabinet");
        QVERIFY(QDir().mkpath(shared));
        QFile alias(m_home.path() + QStringLiteral("/alias.ini"));
        QVERIFY(alias.open(QIODevice::WriteOnly));
        alias.write("[orvane]\nDriver=QPSQL\nHost=serveur\nDossiers=cabinet\n");
        alias.close();
        orvane::places::shareCorrespondenceIn(orvane::records::AliasSettings::loadFile(alias.fileName()).sharedFolder);
        const auto restore = qScopeGuard([] { orvane::places::shareCorrespondenceIn(QString()); });
        const QString book = orvane::places::inCorrespondenceFolder(QStringLiteral("hprim.ini"));
        QCOMPARE(book, shared + QStringLiteral("/hprim.ini"));
        QCOMPARE(correspondenceFolderPath(CorrespondenceFolder::SentLetters), shared + QStringLiteral("/courrier envoyé"));

        AddressBook room1(book);
        AddressBook room2(book);
        room1.load();
        room2.load();
        room1.add({QStringLiteral("Dr BERNARD"), QString(), QStringLiteral("Cardiologue"), QStringLiteral("b@cab.fr")});
        room2.add({QStringLiteral("Dr ARNAUD"), QString(), QStringLiteral("Radiologue"), QStringLiteral("a@cab.fr")});
        room1.save();
        room2.save();
        QCOMPARE(names(room2), (QStringList{QStringLiteral("Dr ARNAUD"), QStringLiteral("Dr BERNARD")}));
        room1.remove(0);
        room1.save();
        AddressBook later(book);
        later.load();
        QCOMPARE(names(later), QStringList{QStringLiteral("Dr ARNAUD")});

        // The same letter name written by both rooms: two files.
        const QString folder = correspondenceFolderPath(CorrespondenceFolder::SentLetters);
        const QString first = writeOnce(folder, QStringLiteral("MARTIN Paul-en date du 9 12 2026"), QStringLiteral(".txt"), "salle 1");
        const QString second = writeOnce(folder, QStringLiteral("MARTIN Paul-en date du 9 12 2026"), QStringLiteral(".txt"), "salle 2");
        QVERIFY(first != second);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
    }

    void eightLinesGiveTwoCorrespondentsInNameOrder()
    {
        writeFile("Zola Emile\r\n1 rue Z\r\nCardiologue\r\nzola@x.fr\r\n"
                  "\xc9meric Anne\r\n2 rue E\r\nDermatologue\r\neme@x.fr\r\n");
        AddressBook book(m_path);
        book.load();
        QCOMPARE(names(book), (QStringList{"Émeric Anne", "Zola Emile"}));
        QCOMPARE(book.correspondents().at(0),
                 (Correspondent{"Émeric Anne", "2 rue E", "Dermatologue", "eme@x.fr"}));
    }

    void anAdditionRewritesEveryLineInNameOrder()
    {
        writeFile("Zola Emile\r\n1 rue Z\r\nCardiologue\r\nzola@x.fr\r\n"
                  "Bernard Luc\r\n2 rue B\r\nORL\r\nluc@x.fr\r\n");
        AddressBook book(m_path);
        book.load();
        QCOMPARE(book.add({"Martin Paul", "3 rue M", "Pneumologue", "pm@x.fr"}), 1);
        book.save();
        QCOMPARE(fileBytes(), QByteArray("Bernard Luc\r\n2 rue B\r\nORL\r\nluc@x.fr\r\n"
                                         "Martin Paul\r\n3 rue M\r\nPneumologue\r\npm@x.fr\r\n"
                                         "Zola Emile\r\n1 rue Z\r\nCardiologue\r\nzola@x.fr\r\n"));
    }

    void deletingTheOnlyCorrespondentLeavesAnEmptyFile()
    {
        writeFile("Zola Emile\r\n1 rue Z\r\nCardiologue\r\nzola@x.fr\r\n");
        AddressBook book(m_path);
        book.load();
        book.remove(0);
        book.remove(5); // no such row: nothing happens
        book.save();
        QCOMPARE(fileBytes(), QByteArray());
        AddressBook reread(m_path);
        reread.load();
        QVERIFY(reread.correspondents().isEmpty());
    }

    void missingFileGivesAnEmptyBookAndTheFirstAdditionCreatesIt()
    {
        AddressBook book(m_path);
        book.load();
        QVERIFY(book.correspondents().isEmpty());
        book.add({"Dr Été", "", "", "ete@x.fr"});
        book.save();
        QCOMPARE(fileBytes(), QByteArray("Dr \xc9t\xe9\r\n\r\n\r\nete@x.fr\r\n"));
    }

    void incompleteLastCorrespondentLosesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("rewritten");
        QTest::newRow("one line short") << QByteArray("A\r\nad\r\nsp\r\na@x\r\nB\r\nbd\r\nsp2\r\n") << 2
                                        << QByteArray("A\r\nad\r\nsp\r\na@x\r\nB\r\nbd\r\nsp2\r\n\r\n");
        QTest::newRow("a lone name, LF only") << QByteArray("A\nad\nsp\na@x\nB") << 2
                                              << QByteArray("A\r\nad\r\nsp\r\na@x\r\nB\r\n\r\n\r\n\r\n");
        QTest::newRow("blank lines at the end") << QByteArray("A\r\nad\r\nsp\r\na@x\r\n\r\n  \r\n") << 1
                                                << QByteArray("A\r\nad\r\nsp\r\na@x\r\n");
    }
    void incompleteLastCorrespondentLosesNothing()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, count);
        QFETCH(QByteArray, rewritten);
        writeFile(file);
        AddressBook book(m_path);
        book.load();
        QCOMPARE(book.correspondents().size(), count);
        book.save();
        QCOMPARE(fileBytes(), rewritten);
    }

    void aLineBreakInsideAFieldCannotShiftTheFile()
    {
        AddressBook book(m_path);
        book.add({"Nom\r\nCaché", "rue\nA", "spé", "a@x.fr"});
        book.save();
        AddressBook reread(m_path);
        reread.load();
        QCOMPARE(reread.correspondents(), (QList<Correspondent>{{"Nom Caché", "rue A", "spé", "a@x.fr"}}));
    }

    void aFailedRewriteKeepsTheFormerFileAndSaysSo()
    {
        AddressBook book(m_home.path() + QStringLiteral("/no such folder/hprim.ini"));
        book.add({"A", "", "", "a@x.fr"});
        QVERIFY_THROWS_EXCEPTION(orvane::Error, book.save());
    }
};

QTEST_GUILESS_MAIN(TestAddressBook)
#include "test_addressbook.moc"
