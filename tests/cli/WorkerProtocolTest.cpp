// The lines a batch with -j and its processes exchange: what is encoded decodes to the same,
// and a line no process writes is read as the batch has always read it.
#include "cli/WorkerProtocol.h"
#include "files/FileName.h"

#include <gtest/gtest.h>

namespace qorv::cli {
namespace {

CarriedState SomeState() {
    CarriedState carried;
    carried.DeviceNumber = QStringLiteral("Qorv-TH 0A1");
    carried.RateText = QStringLiteral("Частота регистрации: 5 мин.");
    carried.Caption = QStringLiteral("Qorv\n \"TH\"");
    carried.MktControlsVisible = true;
    return carried;
}

TEST(WorkerProtocol, InputRoundTrip) {
    // A name whose bytes are not UTF-8 and an argument with a line break stay as they are.
    const WorkerInput input{
        {"-o", "/out", "--title1=a\nb", "--", files::DecodeFileName("\xCF.txt")}, SomeState()};
    const QByteArray line = input.encode();
    EXPECT_FALSE(line.contains('\n'));
    const auto decoded = WorkerInput::decode(line);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->arguments, input.arguments);
    EXPECT_EQ(decoded->carried, input.carried);
    EXPECT_FALSE(WorkerInput::decode("{\"arguments\": [\"!!\"], \"carried\": {}}"));
    EXPECT_FALSE(WorkerInput::decode("garbage"));
}

TEST(WorkerProtocol, MessageRoundTrip) {
    using Kind = WorkerMessage::Kind;
    const WorkerMessage messages[] = {
        {.kind = Kind::Loaded, .carried = SomeState()},
        {.kind = Kind::RunMayChangeState},
        {.kind = Kind::Ended, .carried = SomeState(), .exitCode = 2},
        {.kind = Kind::Ended, .exitCode = 1},
    };
    for (const WorkerMessage& message : messages) {
        const QByteArray line = message.encode();
        ASSERT_TRUE(line.startsWith(WorkerMessage::kMark) && line.endsWith('\n'));
        EXPECT_EQ(line.count('\n'), 1);
        const auto decoded = WorkerMessage::decode(QByteArrayView(line).chopped(1));
        ASSERT_TRUE(decoded) << line.toStdString();
        EXPECT_EQ(decoded->kind, message.kind);
        EXPECT_EQ(decoded->carried, message.carried);
        EXPECT_EQ(decoded->exitCode, message.exitCode);
    }
    EXPECT_EQ(WorkerMessage{.kind = Kind::RunMayChangeState}.encode(), QByteArray("\0W\n", 3));
    EXPECT_EQ((WorkerMessage{.kind = Kind::Ended, .exitCode = 1}.encode()),
              QByteArray("\0E1\n", 4));
}

TEST(WorkerProtocol, MalformedMessages) {
    const auto decode = [](const char* text) {
        return WorkerMessage::decode(QByteArrayView(QByteArray(1, '\0') + text));
    };
    EXPECT_FALSE(decode(""));
    EXPECT_FALSE(decode("X{}"));
    // A state that cannot be read is left out; the batch then finds it itself.
    const auto loaded = decode("S{broken");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->kind, WorkerMessage::Kind::Loaded);
    EXPECT_FALSE(loaded->carried);
    // An exit code not written as the tool writes one is a failure.
    for (const char* code : {"E00", "E+0", "E", "Ex {}", "E 0"}) {
        const auto ended = decode(code);
        ASSERT_TRUE(ended) << code;
        EXPECT_EQ(ended->kind, WorkerMessage::Kind::Ended);
        EXPECT_EQ(ended->exitCode, 1) << code;
        EXPECT_FALSE(ended->carried) << code;
    }
    EXPECT_EQ(decode("E0")->exitCode, 0);
    EXPECT_EQ(decode("E2 {}")->exitCode, 2);
}

}  // namespace
}  // namespace qorv::cli
