// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ConversionError.h"
#include "files/XmlLoad.h"
#include "files/XmlWrite.h"
#include "model/ParseNumber.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

namespace {

QByteArray utf16le(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

const QString declaration = u"<?xml version = \"1.0\" encoding = \"UNICODE\" standalone = \"yes\"?>\n"_qs;

class XmlFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString put(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("doc.xml"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    QByteArray read(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
};

struct Step {
    int Depth;
    QString Name;
    QString Value;
    friend bool operator==(const Step&, const Step&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Step& s) {
        return os << s.Depth << " <" << s.Name.toStdString() << "> [" << s.Value.toStdString() << "]";
    }
};

// Every ReadTag that yields a name, until the end of the file.
std::vector<Step> elements(CXmlLoad& loader) {
    std::vector<Step> steps;
    while (!loader.AtEnd()) {
        const int depth = loader.ReadTag();
        if (!loader.Name().isEmpty())
            steps.push_back({depth, loader.Name(), loader.Value()});
    }
    return steps;
}

} // namespace

TEST_F(XmlFiles, WriterProducesTheExactBytes) {
    const QString path = dir.filePath(QStringLiteral("out.xml"));
    CXmlWrite writer;
    ASSERT_TRUE(writer.Open(path));
    writer.WriteHeader();
    writer.BeginElement(QStringLiteral("Root"));
    writer.WriteText(QStringLiteral("T"), QStringLiteral("a&b<c>"));
    writer.WriteText(QStringLiteral("E"), QString());
    writer.BeginElement(QStringLiteral("Inner"));
    writer.WriteInt(QStringLiteral("I"), -2147483647 - 1);
    writer.WriteShort(QStringLiteral("S"), -5);
    writer.WriteDouble(QStringLiteral("D1"), 1.5);
    writer.WriteDouble(QStringLiteral("D2"), -0.25);
    writer.WriteDouble(QStringLiteral("D3"), 0.0);
    writer.WriteDouble(QStringLiteral("D4"), -9999999.0);
    writer.EndElement(QStringLiteral("Inner"));
    writer.EndElement(QStringLiteral("Root"));
    EXPECT_FALSE(QFile::exists(path)) << "nothing reaches the disk before Close";
    QString error;
    ASSERT_TRUE(writer.Close(&error)) << error.toStdString();

    const QString expected = QChar(0xFEFF) + declaration +
                             u"<Root>\n"
                             "\t<T>a&b<c></T>\n"
                             "\t<E></E>\n"
                             "\t<Inner>\n"
                             "\t\t<I>-2147483648</I>\n"
                             "\t\t<S>-5</S>\n"
                             "\t\t<D1>1.500000</D1>\n"
                             "\t\t<D2>-0.250000</D2>\n"
                             "\t\t<D3>0.000000</D3>\n"
                             "\t\t<D4>-9999999.000000</D4>\n"
                             "\t</Inner>\n"
                             "</Root>\n"_qs;
    const QByteArray bytes = read(path);
    EXPECT_EQ(bytes.left(2), QByteArray("\xFF\xFE", 2));
    EXPECT_EQ(bytes, utf16le(expected));
}

TEST_F(XmlFiles, WriterKeepsPointUnderCommaLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    const bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    CXmlWrite writer;
    ASSERT_TRUE(writer.Open(dir.filePath(QStringLiteral("x.xml"))));
    writer.WriteDouble(QStringLiteral("D"), 1234.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(writer.document(), u"<D>1234.500000</D>\n"_qs) << (switched ? "" : "(no German locale here)");
}

TEST_F(XmlFiles, FailedCloseLeavesTheOldFile) {
    CXmlWrite writer;
    EXPECT_FALSE(writer.Open(dir.filePath(QStringLiteral("missing/x.xml"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(writer.Open(dir.filePath(QStringLiteral("folder"))));
    writer.WriteHeader();
    QString folderError;
    EXPECT_FALSE(writer.Close(&folderError));
    EXPECT_FALSE(folderError.isEmpty());

    const QString path = put("old");
    ASSERT_TRUE(writer.Open(path));
    writer.WriteHeader();
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    QString error;
    const bool ok = writer.Close(&error);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (ok)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(read(path), QByteArray("old"));
}

TEST_F(XmlFiles, LoaderEdgeCases) {
    struct Case {
        const char* What;
        QByteArray Bytes;
        std::vector<Step> Expected;
        int FinalDepth;
    };
    const QByteArray bom("\xFF\xFE", 2);
    const auto doc = [&](const QString& body) { return bom + utf16le(declaration + body); };
    const std::vector<Case> cases = {
        {"plain document",
         doc(u"<A>\n\t<B>x</B>\n</A>\n"_qs),
         {{1, "A", ""}, {1, "B", "x"}, {0, "/A", ""}},
         0},
        {"< without / survives",
         doc(u"<A>\n\t<B>a<b</B>\n</A>\n"_qs),
         {{1, "A", ""}, {1, "B", "a<b"}, {0, "/A", ""}},
         0},
        {"</ cuts the text",
         doc(u"<A>\n\t<B>a</b</B>\n</A>\n"_qs),
         {{1, "A", ""}, {1, "B", "a"}, {0, "/A", ""}},
         0},
        // The rest of the line up to the next "<" is skipped, and its closing tag counts as an end.
        {"tab in text",
         doc(u"<A>\n\t<B>a\tb</B>\n</A>\n"_qs),
         {{1, "A", ""}, {1, "B", "a"}, {0, "/B", ""}, {-1, "/A", ""}},
         -1},
        {"LF in text",
         doc(u"<A>\n\t<B>a\nb</B>\n</A>\n"_qs),
         {{1, "A", ""}, {1, "B", "a"}, {0, "/B", ""}, {-1, "/A", ""}},
         -1},
        {"CR in text",
         doc(u"<A>\n\t<B>a\rb</B>\n</A>\n"_qs),
         {{1, "A", ""}, {1, "B", "a"}, {0, "/B", ""}, {-1, "/A", ""}},
         -1},
        {"CRLF lines",
         bom + utf16le(u"<?xml version = \"1.0\"?>\r\n<A>\r\n\t<B>x</B>\r\n</A>\r\n"_qs),
         {{1, "A", ""}, {1, "B", "x"}, {0, "/A", ""}},
         0},
        // Without a byte order mark CheckHeader eats the "<" of the declaration, which still has "xml".
        {"no BOM",
         utf16le(declaration + u"<A>\n\t<B>x</B>\n</A>\n"_qs),
         {{1, "A", ""}, {1, "B", "x"}, {0, "/A", ""}},
         0},
        {"no final LF", doc(u"<A>\n\t<B>x</B>\n</A>"_qs), {{1, "A", ""}, {1, "B", "x"}, {0, "/A", ""}}, 0},
        {"open containers at the end",
         doc(u"<A>\n\t<B>\n\t\t<C>x</C>\n"_qs),
         {{1, "A", ""}, {2, "B", ""}, {2, "C", "x"}},
         2},
        {"cut inside a leaf", doc(u"<A>\n\t<B>x</"_qs), {{1, "A", ""}, {1, "B", "x"}}, 1},
        {"odd trailing byte", doc(u"<A>\n</A>\n"_qs) + QByteArray("<", 1), {{1, "A", ""}, {0, "/A", ""}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        CXmlLoad loader{QLocale::c()};
        ASSERT_TRUE(loader.Open(put(c.Bytes)));
        ASSERT_TRUE(loader.CheckHeader());
        EXPECT_EQ(elements(loader), c.Expected);
        EXPECT_EQ(loader.ReadTag(), c.FinalDepth) << "the depth stays put at the end of the file";
        loader.Close();
    }
}

TEST_F(XmlFiles, EightBitFileYieldsNoNames) {
    CXmlLoad loader{QLocale::c()};
    ASSERT_TRUE(loader.Open(put("<?xml version=\"1.0\"?>\n<Project>\n\t<Name>x</Name>\n</Project>\n")));
    loader.CheckHeader(); // the pairs of bytes form no "xml"
    QString text;
    while (!loader.AtEnd()) {
        loader.ReadTag();
        EXPECT_FALSE(loader.GetText(QStringLiteral("Name"), text));
        EXPECT_FALSE(loader.GetText(QStringLiteral("Project"), text));
    }
}

TEST_F(XmlFiles, HeaderWithoutXmlIsRefused) {
    CXmlLoad loader{QLocale::c()};
    ASSERT_TRUE(loader.Open(put(QByteArray("\xFF\xFE", 2) + utf16le(u"<?XML?>\n<A>\n</A>\n"_qs))));
    EXPECT_FALSE(loader.CheckHeader());
    ASSERT_TRUE(loader.Open(put(QByteArray())));
    EXPECT_FALSE(loader.CheckHeader());
    EXPECT_TRUE(loader.AtEnd());
}

TEST_F(XmlFiles, OpenRefusesMissingAndHugeFiles) {
    CXmlLoad loader{QLocale::c()};
    QString error;
    EXPECT_FALSE(loader.Open(dir.filePath(QStringLiteral("none.proj")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("none.proj"))) << error.toStdString();

    QFile huge(dir.filePath(QStringLiteral("huge.proj")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(CXmlLoad::MaxFileSize + 2)); // sparse: costs no disk
    huge.close();
    error.clear();
    EXPECT_FALSE(loader.Open(huge.fileName(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("too large"))) << error.toStdString();
    EXPECT_TRUE(loader.AtEnd());
}

TEST_F(XmlFiles, GetConversions) {
    const auto loaderOn = [&](CXmlLoad& loader, const QString& content) {
        EXPECT_TRUE(loader.Open(put(utf16le(u"\uFEFFxml\n<N>"_qs + content + u"</N>\n"_qs))));
        loader.CheckHeader();
        loader.ReadTag();
    };
    struct IntCase {
        QString Text;
        std::optional<std::int32_t> Value;
    };
    for (const IntCase& c : std::vector<IntCase>{{"12", 12},
                                                 {"-7", -7},
                                                 {"+3", 3},
                                                 {"2147483647", 2147483647},
                                                 {"", std::nullopt},
                                                 {"1.5", std::nullopt},
                                                 {" 1", std::nullopt},
                                                 {"12a", std::nullopt},
                                                 {"-", std::nullopt},
                                                 {"2147483648", std::nullopt}}) {
        SCOPED_TRACE(c.Text.toStdString());
        CXmlLoad loader{QLocale::c()};
        loaderOn(loader, c.Text);
        std::int32_t out = 99;
        EXPECT_FALSE(loader.GetInt(QStringLiteral("n"), out)) << "names compare case-sensitively";
        if (c.Value) {
            EXPECT_TRUE(loader.GetInt(QStringLiteral("N"), out));
            EXPECT_EQ(out, *c.Value);
        } else {
            try {
                loader.GetInt(QStringLiteral("N"), out);
                ADD_FAILURE() << "no conversion error";
            } catch (const TConversionError& e) {
                EXPECT_EQ(QString::fromStdString(e.what()),
                          QStringLiteral("\"N\" holds \"%1\", which is not a whole number").arg(c.Text));
            }
            EXPECT_EQ(out, 99);
        }
    }

    CXmlLoad loader{QLocale::c()};
    loaderOn(loader, QStringLiteral("65535"));
    std::int16_t s = 0;
    std::uint16_t u = 0;
    EXPECT_TRUE(loader.GetShort(QStringLiteral("N"), s));
    EXPECT_TRUE(loader.GetShort(QStringLiteral("N"), u));
    EXPECT_EQ(s, -1);
    EXPECT_EQ(u, 65535);

    for (const auto& [text, value] : std::vector<std::pair<QString, double>>{
             {"1,5", 1.5}, {"1.5", 1.5}, {"abc", 0.0}, {"1234.567891", double(float(1234.567891))}}) {
        SCOPED_TRACE(text.toStdString());
        CXmlLoad l{QLocale(QLocale::German)};
        loaderOn(l, text);
        double d = -1;
        EXPECT_TRUE(l.GetDouble(QStringLiteral("N"), d));
        EXPECT_EQ(d, value);
    }

    // The writer's own digits read the same under every locale, also where "." is no decimal point.
    for (const QLocale& locale :
         {QLocale::c(), QLocale(QLocale::German), QLocale(QLocale::Arabic, QLocale::Egypt)})
        for (const auto& [text, value] :
             std::vector<std::pair<QString, double>>{{u"1234.567891"_qs, double(float(1234.567891))},
                                                     {u"-9999999.000000"_qs, -9999999.0},
                                                     {u"-0.250000"_qs, -0.25},
                                                     {u"16777217.000000"_qs, 16777216.0},
                                                     {u"12"_qs, 12.0}}) {
            SCOPED_TRACE((locale.name() + u' ' + text).toStdString());
            CXmlLoad l{locale};
            loaderOn(l, text);
            double d = -1;
            l.GetDouble(QStringLiteral("N"), d);
            EXPECT_EQ(d, value);
        }
    // Anything else is ParseNumber's.
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German)})
        for (const QString text : {u"999999999999999999999999999999999999999.0"_qs, u"1e5"_qs, u"1."_qs,
                                   u"-"_qs, u"1.2.3"_qs, u"1,25"_qs, u" 1.5"_qs}) {
            SCOPED_TRACE((locale.name() + u' ' + text).toStdString());
            CXmlLoad l{locale};
            loaderOn(l, text);
            double d = -1;
            l.GetDouble(QStringLiteral("N"), d);
            EXPECT_EQ(d, ParseNumber(text, locale));
        }
}
