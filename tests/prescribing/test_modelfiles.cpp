#include "platform/error.h"
#include "prescribing/modelfiles.h"
#include "prescribing/modellibrary.h"
#include "support/scripteddialogservice.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace orvane;
using namespace orvane::prescribing;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

class TestModelFiles : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TemporaryHome> m_home;
    QString m_folder;

    QString file(const QString &name) const { return m_folder + QLatin1Char('/') + name; }

private slots:
    void init()
    {
        m_home = std::make_unique<test::TemporaryHome>();
        m_folder = modelFolder(ModelKind::Bilan);
        QVERIFY(QDir().mkpath(m_folder));
    }
    void cleanup() { m_home.reset(); }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("NFS\r\nVS\r\nCRP\r\n") << QStringList{"NFS", "VS", "CRP"};
        QTest::newRow("LF and CR") << QByteArray("NFS\nVS\rCRP") << QStringList{"NFS", "VS", "CRP"};
        QTest::newRow("empty lines kept") << QByteArray("NFS\r\n\r\nCRP\r\n") << QStringList{"NFS", "", "CRP"};
        QTest::newRow("Windows-1252 accents")
            << QByteArray("Glyc\xe9mie \x9c\x80\r\n") << QStringList{QStringLiteral("Glycémie œ€")};
        QTest::newRow("tabs") << QByteArray("a\tb") << QStringList{"a\tb"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }
    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        writeBytes(file("bilan.txt"), bytes);
        QCOMPARE(readModelFile(file("bilan.txt")), lines);
    }

    void unreadableFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("binary") << QByteArray("MZ\x00\x01\x02", 5) << "ce n'est pas un fichier texte";
        QTest::newRow("undefined code") << QByteArray("NFS \x81") << "ce n'est pas un fichier texte";
        QTest::newRow("huge") << QByteArray(int(largestModelFile) + 1, 'a')
                              << "le fichier est trop volumineux pour un modèle";
    }
    void unreadableFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        writeBytes(file("bad.txt"), bytes);
        try {
            readModelFile(file("bad.txt"));
            QFAIL("read a file that is no model");
        } catch (const Error &error) {
            QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
            QVERIFY(error.message().contains(QDir::toNativeSeparators(file("bad.txt"))));
        }
    }

    void aPipeIsRefusedWithoutWaitingForIt()
    {
#ifdef Q_OS_UNIX
        const QString pipe = file("tube.txt");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        try {
            readModelFile(pipe);
            QFAIL("read a pipe as a model");
        } catch (const Error &error) {
            QVERIFY2(error.message().contains(QStringLiteral("ce n'est pas un fichier ordinaire")), qPrintable(error.message()));
        }
#else
        QSKIP("named pipes are a Unix thing");
#endif
    }

    void missingFileAndFolder()
    {
        QVERIFY_THROWS_EXCEPTION(Error, readModelFile(file("none.txt")));
        QVERIFY_THROWS_EXCEPTION(Error, readModelFile(m_folder));
        QVERIFY_THROWS_EXCEPTION(Error, writeModelFile(file("no folder/x.txt"), {QStringLiteral("a")}));
        QVERIFY_THROWS_EXCEPTION(Error, writeModelFile(m_folder, {QStringLiteral("a")}));
        QVERIFY(QFileInfo(m_folder).isDir());
    }

    void writingEndsEveryLineWithCrLf()
    {
        writeModelFile(file("out.txt"), {QStringLiteral("Je soussigné"), QString(), QStringLiteral("œuvre")});
        QCOMPARE(readBytes(file("out.txt")), QByteArray("Je soussign\xe9\r\n\r\n\x9cuvre\r\n"));
        writeModelFile(file("out.txt"), {});
        QCOMPARE(readBytes(file("out.txt")), QByteArray());
    }

    void characterOutsideTheCodePageLeavesTheFile()
    {
        writeBytes(file("kept.txt"), "old\r\n");
        try {
            writeModelFile(file("kept.txt"), {QStringLiteral("dose → 2")});
            QFAIL("wrote a character the code page cannot hold");
        } catch (const Error &error) {
            QVERIFY(error.message().startsWith(QStringLiteral("Impossible d'écrire le fichier")));
        }
        QCOMPARE(readBytes(file("kept.txt")), QByteArray("old\r\n"));
    }

    void librarySaves()
    {
        test::ScriptedDialogService dialogs;
        ModelLibrary library(dialogs, nullptr);
        dialogs.answerFile(file("new.txt"));
        library.save(ModelKind::Certificate, {QStringLiteral("apte")});
        QCOMPARE(readBytes(file("new.txt")), QByteArray("apte\r\n"));
        QCOMPARE(dialogs.requests().size(), 1); // a new file is written without a question
        QCOMPARE(dialogs.requests().at(0).kind, QStringLiteral("save"));
        QCOMPARE(dialogs.requests().at(0).title, QStringLiteral("Enregistrement d'un modèle de Certificat"));

        dialogs.answerFile(file("new.txt"));
        dialogs.answerNo();
        library.save(ModelKind::Bilan, {QStringLiteral("changed")});
        QCOMPARE(readBytes(file("new.txt")), QByteArray("apte\r\n"));
        QCOMPARE(dialogs.requests().at(1).title, QStringLiteral("Enregistrement d'un modèle"));
        QCOMPARE(dialogs.requests().at(2).text, QStringLiteral("Attention. Voulez-vous effacer le fichier existant?"));

        dialogs.answerFile(file("new.txt"));
        dialogs.answerYes();
        library.save(ModelKind::Bilan, {QStringLiteral("changed")});
        QCOMPARE(readBytes(file("new.txt")), QByteArray("changed\r\n"));

        dialogs.answerCancel();
        library.save(ModelKind::Bilan, {QStringLiteral("lost")});
        QCOMPARE(readBytes(file("new.txt")), QByteArray("changed\r\n"));
        QCOMPARE(dialogs.pendingAnswers(), 0);
    }
};

QTEST_GUILESS_MAIN(TestModelFiles)
#include "test_modelfiles.moc"
