// The update feed both updaters read: the query over real feed documents (and the documents it
// refuses to read), the choice of the newest row and the version comparison, as tables.
#include "testmain.h"
#include "updatefeed.h"

#include <QtTest>

using updatefeed::Product;

Q_DECLARE_METATYPE(Product)

namespace {

QByteArray feed(const QByteArray& rootAttributes, const QByteArray& revisions)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Config" + rootAttributes +
           "><Brand Name=\"yoxl\"><Product Name=\"QX8 Application\">" + revisions +
           "</Product><Product Name=\"QX8 Firmware\">"
           "<Revision Version=\"2.5.0\" ImageUrl=\"http://h/fw-2.5.0.img\"/>"
           "<Revision Version=\"2.4.9\"/></Product></Brand>"
           "<Brand Name=\"other\"><Product Name=\"QX8 Firmware\">"
           "<Revision Version=\"9.9.9\" ImageUrl=\"http://h/foreign.img\"/></Product></Brand>"
           "</Config>";
}

// The document with `doctype` after its XML declaration.
QByteArray withDoctype(const QByteArray& doctype, const QByteArray& document)
{
    const int body = document.indexOf('\n') + 1;
    return document.left(body) + doctype + document.mid(body);
}

const QByteArray kRevisions = "<Revision Version=\"1.1.5\" Platform=\"Mac\" ImageUrl=\"x\"/>"
                              "<Revision Version=\"9.9.9\" Platform=\"Win\" ImageUrl=\"w\"/>"
                              "<Revision Version=\"1.1.7\" Platform=\"Mac\" ImageUrl=\"y\"/>";

} // namespace

class TestUpdateFeed : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void comparesVersions_data();
    void comparesVersions();
    void readsRows_data();
    void readsRows();
    void choosesTheLatest_data();
    void choosesTheLatest();
};

void TestUpdateFeed::comparesVersions_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("greater");
    const struct
    {
        const char* first;
        const char* second;
        bool greater;
    } rows[] = {
        {"1.2.1", "1.2", true},
        {"1.2.0", "1.2", false},
        {"1.2", "1.2.1", false},
        {"1.2", "1.2", false},
        {"1.10", "1.9", true},
        {"1.1.5.dmg", "1.1.4", true},
        {"1.1.4.dmg", "1.1.4", false},
        {"1.", "1.0.7", false},
        {"1.", "", true},
        {"", "1.0", false},
        {"1.a", "1.0", false},
        {"1.b.1", "1.0", true},
        {"2.4.1", "99999999999.0", true}, // beyond 32 bits reads as 0
    };
    for (const auto& row : rows)
        QTest::addRow("%s vs %s", row.first, row.second) << row.first << row.second << row.greater;
}

void TestUpdateFeed::comparesVersions()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, greater);
    QCOMPARE(updatefeed::isFirstGreaterThanSecond(first, second), greater);
}

void TestUpdateFeed::readsRows_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<Product>("product");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("rows");
    const QStringList mac{"1.1.5|x", "1.1.7|y"};
    QTest::newRow("mac revisions only")
        << feed("", kRevisions) << Product::Application << true << mac;
    QTest::newRow("default namespace")
        << feed(" xmlns=\"urn:a\"", kRevisions) << Product::Application << true << mac;
    QTest::newRow("firmware of yoxl only, missing url empty")
        << feed("", kRevisions) << Product::Firmware << true
        << QStringList{"2.5.0|http://h/fw-2.5.0.img", "2.4.9|"};
    QTest::newRow("cut short") << feed("", kRevisions).chopped(5) << Product::Application << false
                               << QStringList();
    QTest::newRow("empty") << QByteArray() << Product::Firmware << false << QStringList();
    QTest::newRow("not xml") << QByteArray("Service Unavailable\n") << Product::Firmware << false
                             << QStringList();
    QTest::newRow("undeclared entity")
        << feed("", "<Revision Version=\"&v;\" Platform=\"Mac\" ImageUrl=\"x\"/>")
        << Product::Application << false << QStringList();
    QTest::newRow("entities declared")
        << withDoctype("<!DOCTYPE Config [<!ENTITY v \"1.1.9\">]>",
                       feed("", "<Revision Version=\"&v;\" Platform=\"Mac\" ImageUrl=\"x\"/>"))
        << Product::Application << false << QStringList();
    QTest::newRow("external entity")
        << withDoctype("<!DOCTYPE Config [<!ENTITY e SYSTEM \"file:///etc/hostname\">]>",
                       feed("", "<Revision Version=\"1.1.9\" Platform=\"Mac\" ImageUrl=\"&e;\"/>"))
        << Product::Application << false << QStringList();
    QTest::newRow("doctype alone") << withDoctype("<!DOCTYPE Config>", feed("", kRevisions))
                                   << Product::Application << false << QStringList();
    QTest::newRow("nothing for the product")
        << QByteArray("<Config><Brand Name=\"other\"/></Config>") << Product::Firmware << true
        << QStringList();
    QTest::newRow("zero byte after the document")
        << feed("", kRevisions) + '\0' + "garbage" << Product::Application << true << mac;
    QTest::newRow("quote in the namespace")
        << feed(" xmlns='urn:a\";doc(\"file:///etc/passwd\");\"'", kRevisions)
        << Product::Application << false << QStringList();
    QTest::newRow("entity in the namespace")
        << feed(" xmlns='urn:a&quot;'", kRevisions) << Product::Firmware << false << QStringList();
}

void TestUpdateFeed::readsRows()
{
    QFETCH(QByteArray, document);
    QFETCH(Product, product);
    QFETCH(bool, valid);
    QFETCH(QStringList, rows);
    const std::optional<QStringList> read = updatefeed::rows(document, product);
    QCOMPARE(read.has_value(), valid);
    if (valid)
        QCOMPARE(*read, rows);
}

void TestUpdateFeed::choosesTheLatest_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("url");
    QTest::newRow("greatest") << QStringList{"1.1.5|x", "1.1.7|y", "1.1.6|z"} << "1.1.4"
                              << "1.1.7"
                              << "y";
    QTest::newRow("tie keeps the first") << QStringList{"1.1.5|x", "1.1.5|y"} << "1.1.4"
                                         << "1.1.5"
                                         << "x";
    QTest::newRow("equal to own") << QStringList{"1.1.4|x"} << "1.1.4"
                                  << "1.1.4"
                                  << "";
    QTest::newRow("newer without url") << QStringList{"1.1.5|"} << "1.1.4"
                                       << "1.1.5"
                                       << "";
    QTest::newRow("row without bar, extra parts") << QStringList{"1.1.9", "1.1.5|x|junk"} << "1.1.4"
                                                  << "1.1.5"
                                                  << "x";
    QTest::newRow("unknown own version") << QStringList{"0.0.1|x"} << ""
                                         << "0.0.1"
                                         << "x";
    QTest::newRow("version that would leave the cache")
        << QStringList{"/../../.config/autostart/x.1.desktop|evil", "1.1.5|x", "../9|evil"} << ""
        << "1.1.5"
        << "x";
}

void TestUpdateFeed::choosesTheLatest()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, own);
    QFETCH(QString, version);
    QFETCH(QString, url);
    const updatefeed::Latest latest = updatefeed::latest(rows, own);
    QCOMPARE(latest.version, version);
    QCOMPARE(latest.imageUrl, url);
}

QX8_TEST_GUILESS_MAIN(TestUpdateFeed)
#include "tst_updatefeed.moc"
