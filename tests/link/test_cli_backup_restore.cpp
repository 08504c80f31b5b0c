// SPDX-License-Identifier: GPL-3.0-or-later
// The companion's backup and restore of the instrument's project: what a read saved, a write gives
// back byte for byte, in whatever character table the instrument uses.
#include "model/InstrumentText.h"
#include "simulator/DemoContent.h"
#include "simulator/ImageFile.h"
#include "simulator/SimulatedInstrument.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t BranchBytes = 78;

// Bytes above 127 that the table shows as a character and writes back as the same byte.
std::vector<std::uint8_t> roundTripBytes(int codePage) {
    std::vector<std::uint8_t> bytes;
    for (int b = 0xC0; b <= 0xFF && bytes.size() < 12; ++b) {
        const std::uint8_t in[2] = {static_cast<std::uint8_t>(b), 0};
        std::uint8_t out[2] = {};
        EncodeInstrumentText(DecodeInstrumentText(in, 1, codePage), out, 1, codePage);
        if (out[0] == in[0])
            bytes.push_back(in[0]);
    }
    return bytes;
}

int runCli(const QStringList& args, QString* output,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess cli;
    cli.setProcessEnvironment(environment);
    cli.setProcessChannelMode(QProcess::MergedChannels);
    cli.start(QStringLiteral(ZRV_CLI), args);
    cli.waitForFinished(60000);
    *output = QString::fromUtf8(cli.readAll());
    return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

TEST(CompanionBackupRestore, AReadThenAWriteGivesBackWhatWasRead) {
    for (int codePage = 0; codePage <= 11; ++codePage) {
        SCOPED_TRACE(codePage);
        QTemporaryDir dir;
        const QString driver = dir.filePath(QStringLiteral("libmpusbapi.so"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_SIMULATOR_LIBRARY), driver));

        TSimulatedInstrument instrument;
        WriteDemoContent(instrument);
        ASSERT_TRUE(WriteConfig(instrument, TDemoConfig{static_cast<std::uint16_t>(codePage), 0, 1}));
        // Names made of the table's own letters, in the header and in every branch.
        const std::vector<std::uint8_t> letters = roundTripBytes(codePage);
        ASSERT_FALSE(letters.empty());
        std::uint8_t name[16] = {'P', ' '};
        std::copy(letters.begin(), letters.end(), name + 2);
        ASSERT_TRUE(instrument.writeConfig(SimProjectHeaderAddress, name, sizeof name));
        std::uint8_t branchName[16] = {'B'};
        std::copy(letters.rbegin(), letters.rend(), branchName + 1);
        ASSERT_TRUE(instrument.writeConfig(SimBranchesAddress, branchName, sizeof branchName));
        const std::string image = QDir(dir.path()).filePath(QLatin1String(SimulatorImageName)).toStdString();
        ASSERT_TRUE(SaveImageFile(image, instrument));
        std::vector<std::uint8_t> before(instrument.configMemory().begin() + SimProjectHeaderAddress,
                                         instrument.configMemory().begin() + SimBranchesAddress + 20 * BranchBytes);

        const QString file = dir.filePath(QStringLiteral("backup.proj"));
        QString output;
        ASSERT_EQ(runCli({QStringLiteral("device"), QStringLiteral("read-project"), QStringLiteral("-o"), file,
                          QStringLiteral("--driver"), driver},
                         &output),
                  0)
            << output.toStdString();
        ASSERT_EQ(runCli({QStringLiteral("device"), QStringLiteral("write-project"), file, QStringLiteral("--yes"),
                          QStringLiteral("--driver"), driver},
                         &output),
                  0)
            << output.toStdString();

        TSimulatedInstrument after;
        ASSERT_EQ(LoadImageFile(image, after), TImageLoad::Loaded);
        const std::vector<std::uint8_t> written(after.configMemory().begin() + SimProjectHeaderAddress,
                                                after.configMemory().begin() + SimBranchesAddress +
                                                    20 * BranchBytes);
        EXPECT_EQ(written, before);
    }
}

// --verify reads the written project back: a simulated instrument that spoils a byte of branch 2 fails
// the write and is named; without --verify nothing looks.
TEST(CompanionBackupRestore, VerifyNamesTheFirstBranchTheInstrumentDidNotKeep) {
    struct Case {
        bool Verify;
        bool Faulty;
        int Exit;
        const char* Says; // in the output; null: nothing about a difference
    };
    for (const Case c : {Case{true, false, 0, nullptr}, Case{true, true, 1, "Branch 2 ("},
                         Case{false, true, 0, nullptr}}) {
        SCOPED_TRACE(testing::Message() << "verify " << c.Verify << ", faulty " << c.Faulty);
        QTemporaryDir dir;
        const QString driver = dir.filePath(QStringLiteral("libmpusbapi.so"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZRV_SIMULATOR_LIBRARY), driver));
        const QString file = dir.filePath(QStringLiteral("demo.proj"));
        QString output;
        const QStringList read{QStringLiteral("device"), QStringLiteral("read-project"), QStringLiteral("-o"),
                               file, QStringLiteral("--driver"), driver};
        ASSERT_EQ(runCli(read, &output), 0) << output.toStdString();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (c.Faulty)
            environment.insert(QStringLiteral("ZRV10_SIM_FAULTY_CELL"),
                               QString::number(SimBranchesAddress + BranchBytes + 30));
        QStringList args{QStringLiteral("device"), QStringLiteral("write-project"), file,
                         QStringLiteral("--yes"), QStringLiteral("--driver"), driver};
        if (c.Verify)
            args << QStringLiteral("--verify");
        EXPECT_EQ(runCli(args, &output, environment), c.Exit) << output.toStdString();
        EXPECT_EQ(output.contains(QStringLiteral("differs")), c.Says != nullptr) << output.toStdString();
        if (c.Says)
            EXPECT_TRUE(output.contains(QLatin1String(c.Says))) << output.toStdString();
    }
}

} // namespace
