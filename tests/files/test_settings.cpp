// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/IniFile.h"
#include "files/SafeFileWriter.h"
#include "files/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QString fixture(const char* name) {
    return QStringLiteral(ZRV_FIXTURES "/files/settings/") + QString::fromLatin1(name);
}

// Writes past `bytes` fail as on a full disk. File modes cannot make writes fail here because the
// tests may run as root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// ---- IniFile ----

TEST(IniFile, FindsValuesLikeTheClassicIniFunctions) {
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"[Units]\nFlow=3\n", "Units", "Flow", "3"},
        {"[units]\r\nFLOW = 3 \r\n", "Units", "flow", "3"},
        {"  [ Units ]  \n\tFlow\t=\t3\t\n", "Units", "Flow", "3"},
        {"\xEF\xBB\xBF[Units]\nFlow=3", "Units", "Flow", "3"},
        {"[Units]\nFlow=\"a b\"\n", "Units", "Flow", "a b"},
        {"[Units]\nFlow='a'\n", "Units", "Flow", "a"},
        {"[Units]\nFlow=\n", "Units", "Flow", ""},
        {"[Units]\nFlow=3\nFlow=4\n[Units]\nFlow=5\n", "Units", "Flow", "3"},
        {"[Units]\nName=a=b\n", "Units", "Name", "a=b"},
        {"Flow=3\n[Units]\n", "Units", "Flow", std::nullopt},
        {"[Units]\n;Flow=3\n", "Units", "Flow", std::nullopt},
        {"[Print]\nFlow=3\n[Units]\nPressure=2\n", "Units", "Flow", std::nullopt},
        {"[Units]\nFlow 3\n", "Units", "Flow", std::nullopt},
        {"", "Units", "Flow", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const IniFile ini{QByteArray(c.text)};
        EXPECT_EQ(ini.value(QString::fromLatin1(c.section), QString::fromLatin1(c.key)), c.expected);
    }
}

TEST(IniFile, ReadsOnlyWholeDecimalIntegers) {
    struct Case {
        const char* value;
        int32_t expected;
    };
    const Case cases[] = {
        {"3", 3},
        {" -7 ", -7},
        {"+5", 5},
        {"007", 7},
        {"'4'", 4},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", 99},
        {"-2147483649", 99},
        {"99999999999999999999", 99},
        {"12abc", 99},
        {"abc", 99},
        {"", 99},
        {"0x10", 99},
        {"1.5", 99},
        {"- 3", 99},
        {"3 ; note", 99},
        {"+", 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const IniFile ini{QByteArray("[S]\nk=") + c.value + '\n'};
        EXPECT_EQ(ini.readInt("s", "K", 99), c.expected);
    }
    EXPECT_EQ(IniFile().readInt("S", "k", 99), 99);
    EXPECT_EQ(IniFile().readString("S", "k", "none"), "none");
}

TEST(IniFile, EditChangesOnlyTheKeysLine) {
    struct Case {
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        bool ok;
        const char* after;
    };
    const Case cases[] = {
        // the value is replaced in place, blanks and line end kept
        {"; c\r\n[Units]\r\n  Flow = 3  \r\nPressure=2\r\n", "Units", "Flow", "5", true,
         "; c\r\n[Units]\r\n  Flow = 5  \r\nPressure=2\r\n"},
        {"[Units]\nFlow=\"3\"\n", "Units", "Flow", "5", true, "[Units]\nFlow=5\n"},
        {"[units]\nFLOW=3\nFlow=4\n", "Units", "Flow", "5", true, "[units]\nFLOW=5\nFlow=4\n"},
        {"[Units]\nFlow=\n", "Units", "Flow", "5", true, "[Units]\nFlow=5\n"},
        // a missing key goes after the section's last entry, before blank lines and comments
        {"[Units]\nPressure=2\n\n; next\n[Print]\nTop=1\n", "Units", "Flow", "5", true,
         "[Units]\nPressure=2\nFlow=5\n\n; next\n[Print]\nTop=1\n"},
        {"[Units]\n;Flow=3\n[Print]\n", "Units", "Flow", "5", true, "[Units]\nFlow=5\n;Flow=3\n[Print]\n"},
        {"[Units]\r\nPressure=2", "Units", "Flow", "5", true, "[Units]\r\nPressure=2\r\nFlow=5\r\n"},
        // a missing section is appended, set apart by one blank line
        {"[Print]\nTop=1\n", "Units", "Flow", "5", true, "[Print]\nTop=1\n\n[Units]\nFlow=5\n"},
        {"[Print]\r\nTop=1", "Units", "Flow", "5", true, "[Print]\r\nTop=1\r\n\r\n[Units]\r\nFlow=5\r\n"},
        {"[Print]\nTop=1\n\n", "Units", "Flow", "5", true, "[Print]\nTop=1\n\n[Units]\nFlow=5\n"},
        {"", "Units", "Flow", "5", true, "[Units]\nFlow=5\n"},
        {"\xEF\xBB\xBF", "Units", "Flow", "5", true, "\xEF\xBB\xBF[Units]\nFlow=5\n"},
        {"Flow=3\n", "Units", "Flow", "5", true, "Flow=3\n\n[Units]\nFlow=5\n"},
        // names and values that would not read back as written are refused
        {"[Units]\nFlow=3\n", "Units", "Fl=ow", "5", false, "[Units]\nFlow=3\n"},
        {"[Units]\nFlow=3\n", "Units", ";Flow", "5", false, "[Units]\nFlow=3\n"},
        {"[Units]\nFlow=3\n", "Units", "", "5", false, "[Units]\nFlow=3\n"},
        {"[Units]\nFlow=3\n", "Un]its", "Flow", "5", false, "[Units]\nFlow=3\n"},
        {"[Units]\nFlow=3\n", "Units", "Flow", "5\n[X]", false, "[Units]\nFlow=3\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        IniFile ini{QByteArray(c.before)};
        const QString section = QString::fromLatin1(c.section);
        const QString key = QString::fromLatin1(c.key);
        const QString value = QString::fromLatin1(c.value);
        EXPECT_EQ(ini.setValue(section, key, value), c.ok);
        EXPECT_EQ(ini.bytes(), QByteArray(c.after));
        if (c.ok)
            EXPECT_EQ(ini.value(section, key), value);
    }
}

TEST(IniFile, FromFileTellsMissingFromUnreadable) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::optional<IniFile> missing = IniFile::fromFile(dir.filePath("none.ini"), nullptr);
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->bytes().isEmpty());

    QString error;
    EXPECT_FALSE(IniFile::fromFile(dir.path(), &error));
    EXPECT_TRUE(error.startsWith("Cannot read " + dir.path())) << error.toStdString();
}

// ---- writeFileAtomically ----

TEST(SafeFileWriter, CreatesAndReplacesFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("out.txt");
    QString error;
    ASSERT_TRUE(writeFileAtomically(path, "first\n", &error)) << error.toStdString();
    EXPECT_EQ(readBytes(path), "first\n");
    ASSERT_TRUE(writeFileAtomically(path, "2", &error)) << error.toStdString();
    EXPECT_EQ(readBytes(path), "2");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.txt"});
}

TEST(SafeFileWriter, FailureNamesThePathAndLeavesTheTargetAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    writeBytes(dir.filePath("folder/inside.txt"), "keep");

    for (const QString& path : {dir.filePath("missing/out.txt"), dir.filePath("folder")}) {
        SCOPED_TRACE(path.toStdString());
        QString error;
        EXPECT_FALSE(writeFileAtomically(path, "data", &error));
        EXPECT_TRUE(error.startsWith("Cannot write " + path + ": ")) << error.toStdString();
        EXPECT_GT(error.size(), QString("Cannot write " + path + ": ").size());
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
    EXPECT_TRUE(QFileInfo(dir.filePath("folder")).isDir());
    EXPECT_EQ(readBytes(dir.filePath("folder/inside.txt")), "keep");
}

TEST(SafeFileWriter, FullDiskKeepsTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("out.txt");
    writeBytes(path, "old contents");
    QString error;
    {
        FileSizeLimit limit(4);
        EXPECT_FALSE(writeFileAtomically(path, QByteArray(4096, 'x'), &error));
    }
    // The system's reason for the short write, not Qt's "Unknown error".
    EXPECT_EQ(error, "Cannot write " + path + ": " + QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_EQ(readBytes(path), "old contents");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.txt"});
}

// A real full disk: a file system of 64 KiB, which only root may mount.
TEST(SafeFileWriter, AFullDiskIsNamedAsSuch) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (geteuid() != 0 ||
        ::mount("zrv-test", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString path = dir.filePath("out.txt");
    writeBytes(path, "old contents");
    QString error;
    const bool written = writeFileAtomically(path, QByteArray(256 * 1024, 'x'), &error);
    const QByteArray old = readBytes(path);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, "Cannot write " + path + ": " + QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_EQ(old, "old contents");
    EXPECT_EQ(files, QStringList{"out.txt"});
}

// ---- settings ----

TEST(Settings, PathIsTheProgramsWithIniExtension) {
    EXPECT_EQ(SettingsPathForProgram("/x/bin/zrv10"), "/x/bin/zrv10.ini");
    EXPECT_EQ(SettingsPathForProgram("/x/a.b/prog.exe"), "/x/a.b/prog.ini");
    EXPECT_EQ(SettingsPathForProgram("/x/prog.tar.gz"), "/x/prog.tar.ini");
    EXPECT_EQ(SettingsPathForProgram("zrv10"), "zrv10.ini");
}

TEST(Settings, DefaultsWithoutAFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TSettings expected;
    // l/h: a first user's flows would show as 0.0 m3/min.
    expected.FlowUnit = 5;
    expected.PressureUnit = 2;
    expected.PrintMargins = {25, 25, 25, 25};
    expected.CurrentLanguage = 0;
    expected.SpreadsheetColumns = {10, 2, 3, 4, 18, 17, 22, 20, 21, 22, 23};
    EXPECT_EQ(LoadSettings(dir.filePath("none.ini")), expected);
    EXPECT_EQ(LoadSettings(dir.path()), expected); // a folder in the file's place
    EXPECT_EQ(TSettings(), expected);
}

TEST(Settings, UnitsAreClampedAndBadValuesDefault) {
    struct Case {
        const char* text;
        int32_t flow;
        int32_t pressure;
    };
    const Case cases[] = {
        {"[Units]\nFlow=12\nPressure=-3\n", 8, 0},        {"[Units]\nFlow=-1\nPressure=11\n", 0, 10},
        {"[Units]\nFlow=8\nPressure=10\n", 8, 10},        {"[Units]\nFlow=abc\nPressure=2.5\n", 5, 2},
        {"[Units]\nFlow=99999999999\nPressure=\n", 5, 2}, {"[UNITS]\r\n flow = 3 \r\nPRESSURE=4\r\n", 3, 4},
        {"[Print]\nFlow=5\nPressure=5\n", 5, 2},
        // A file that names a unit keeps it, m3/min too.
        {"[Units]\nFlow=1\n", 1, 2},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("zrv10.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        writeBytes(path, c.text);
        const TSettings s = LoadSettings(path);
        EXPECT_EQ(s.FlowUnit, c.flow);
        EXPECT_EQ(s.PressureUnit, c.pressure);
    }
}

TEST(Settings, LanguageAndMarginsAreTakenAsRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("zrv10.ini");
    writeBytes(path, "[options]\nlanguage=250\n[Print]\nLeft=-5\nRight=1000\nTop=0\nBottom=7\n");
    const TSettings s = LoadSettings(path);
    EXPECT_EQ(s.CurrentLanguage, 250);
    EXPECT_EQ(s.PrintMargins, (TPrintMargins{0, 7, -5, 1000}));
}

TEST(Settings, SharedSpreadsheetKeysApplyToImportAndExport) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("zrv10.ini");
    writeBytes(path, "[XLS]\ncol_valve=5\n");
    TSpreadsheetColumns expected;
    expected.ImportValve = 5;
    expected.ExportValve = 5;
    EXPECT_EQ(LoadSettings(path).SpreadsheetColumns, expected);

    writeBytes(path, "[xls]\nFIRST_LINE=3\ncol_name1=11\ncol_name2=12\ncol_name3=13\ncol_valve=14\n"
                     "col_req_flow=15\ncol_init_preset=16\ncol_dimension=17\n");
    EXPECT_EQ(LoadSettings(path).SpreadsheetColumns,
              (TSpreadsheetColumns{3, 11, 12, 13, 14, 15, 16, 17, 14, 15, 16}));
}

TEST(Settings, SaveKeepsAHandEditedFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("zrv10.ini");
    ASSERT_TRUE(QFile::copy(fixture("hand_edited.ini"), path));

    TSettings loaded = LoadSettings(path);
    EXPECT_EQ(loaded.FlowUnit, 4);
    EXPECT_EQ(loaded.PressureUnit, 3);
    EXPECT_EQ(loaded.PrintMargins, (TPrintMargins{30, 15, 20, 25}));
    EXPECT_EQ(loaded.SpreadsheetColumns, (TSpreadsheetColumns{12, 2, 3, 4, 5, 17, 22, 20, 5, 22, 23}));

    TSettings changed = loaded;
    changed.FlowUnit = 7;
    changed.PressureUnit = 9;
    changed.CurrentLanguage = 2;
    changed.PrintMargins = {13, 14, 11, 12};
    QString error;
    ASSERT_TRUE(SaveSettings(path, changed, &error)) << error.toStdString();
    EXPECT_EQ(readBytes(path), readBytes(fixture("hand_edited_saved.ini")));
    EXPECT_EQ(LoadSettings(path), changed);
}

TEST(Settings, SaveIntoAMissingFileWritesOnlyTheSavedKeys) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("zrv10.ini");
    QString error;
    ASSERT_TRUE(SaveSettings(path, TSettings(), &error)) << error.toStdString();
    EXPECT_EQ(readBytes(path), readBytes(fixture("new_file_saved.ini")));
    EXPECT_EQ(LoadSettings(path), TSettings());
}

TEST(Settings, FailedSaveReportsAndKeepsTheFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("zrv10.ini"));
    for (const QString& path : {dir.filePath("missing/zrv10.ini"), dir.filePath("zrv10.ini")}) {
        SCOPED_TRACE(path.toStdString());
        QString error;
        EXPECT_FALSE(SaveSettings(path, TSettings(), &error));
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
    EXPECT_TRUE(QFileInfo(dir.filePath("zrv10.ini")).isDir());

    const QString path = dir.filePath("old.ini");
    const QByteArray old = readBytes(fixture("hand_edited_saved.ini"));
    writeBytes(path, old);
    TSettings changed = LoadSettings(path);
    changed.FlowUnit = 0;
    QString error;
    {
        FileSizeLimit limit(16);
        EXPECT_FALSE(SaveSettings(path, changed, &error));
        // Nothing to write, so nothing fails: a read-only install still closes quietly.
        EXPECT_TRUE(SaveSettings(path, LoadSettings(path), nullptr));
    }
    EXPECT_TRUE(error.startsWith("Cannot write " + path + ": ")) << error.toStdString();
    EXPECT_EQ(readBytes(path), old);
}

} // namespace

// The verify switch: on unless the file says 0; a file that never named it keeps its bytes while it is on.
TEST(Settings, VerifyAfterWriteReadsAsOnUnlessOffAndRoundTrips) {
    struct Case {
        const char* File;
        bool Read;
    };
    const Case cases[] = {
        {"[Units]\r\nFlow=3\r\n", true},
        {"[Device]\r\nVerifyAfterWrite=0\r\n", false},
        {"[Device]\r\nVerifyAfterWrite=1\r\n", true},
        {"[Device]\r\nVerifyAfterWrite=yes please\r\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        const QByteArray file(c.File);
        TSettings settings = LoadSettingsBytes(file);
        EXPECT_EQ(settings.VerifyAfterWrite, c.Read);
        const QByteArray saved = SettingsBytes(file, settings);
        EXPECT_EQ(LoadSettingsBytes(saved), settings);
        if (!file.contains("VerifyAfterWrite"))
            EXPECT_FALSE(saved.contains("VerifyAfterWrite")) << "the default adds no line";
        for (const bool on : {false, true}) {
            settings.VerifyAfterWrite = on;
            EXPECT_EQ(LoadSettingsBytes(SettingsBytes(file, settings)).VerifyAfterWrite, on);
        }
    }
}

// The commissioning keys read back as written; a file that never had them gains no lines while they
// hold their defaults, and bad values give the defaults.
TEST(Settings, CommissioningKeysRoundTripAndDefault) {
    const QByteArray plain("[Units]\r\nFlow=3\r\n");
    TSettings settings = LoadSettingsBytes(plain);
    EXPECT_EQ(settings.Commissioning, TCommissioningSettings());
    EXPECT_EQ(settings.Commissioning.MinDifferentialPressure, 3000.0);
    const QByteArray untouched = SettingsBytes(plain, settings);
    EXPECT_FALSE(untouched.contains("Commissioning")) << untouched.toStdString();

    settings.Commissioning.Engineer = u"Пётр Иванов"_qs;
    settings.Commissioning.Firm = u"Hydro & Co."_qs;
    settings.Commissioning.InstrumentSerial = u"SN 0042"_qs;
    settings.Commissioning.CalibrationDate = QDate(2026, 3, 1);
    settings.Commissioning.MinDifferentialPressure = 2500.5;
    const QByteArray saved = SettingsBytes(plain, settings);
    EXPECT_TRUE(saved.contains("CalibrationDate=2026-03-01")) << saved.toStdString();
    EXPECT_TRUE(saved.startsWith(untouched));
    EXPECT_EQ(LoadSettingsBytes(saved), settings);

    const TCommissioningSettings bad =
        LoadSettingsBytes("[Commissioning]\nCalibrationDate=1.3.2026\nMinDifferentialPressure=-5\n").Commissioning;
    EXPECT_TRUE(bad.CalibrationDate.isNull());
    EXPECT_EQ(bad.MinDifferentialPressure, 3000.0);
    EXPECT_EQ(LoadSettingsBytes("[Commissioning]\nMinDifferentialPressure=1500,5\n").Commissioning
                  .MinDifferentialPressure, 1500.5);
}
