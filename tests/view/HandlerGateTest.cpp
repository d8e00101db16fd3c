// The door of every event: one handler at a time, run-time errors reported
// once and contained.

#include "base/RuntimeError.h"
#include "view/HandlerGate.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <stdexcept>

namespace zw::view {
namespace {

TEST(HandlerGate, RefusesAHandlerWhileAnotherRuns)
{
    QStringList boxes;
    HandlerGate gate([&](const QString& text) { boxes << text; });
    bool innerRan = false, innerAccepted = true;
    EXPECT_TRUE(gate.run([&] {
        EXPECT_TRUE(gate.busy());
        innerAccepted = gate.run([&] { innerRan = true; });
    }));
    EXPECT_FALSE(innerAccepted);
    EXPECT_FALSE(innerRan);
    EXPECT_FALSE(gate.busy());
    EXPECT_TRUE(boxes.isEmpty());
}

TEST(HandlerGate, ReportsARunTimeErrorOnceWithTheGateStillClosed)
{
    bool busyDuringBox = false;
    QStringList boxes;
    HandlerGate gate([&](const QString& text) {
        boxes << text;
        busyDuringBox = gate.busy();
    });
    bool restRan = false;
    EXPECT_TRUE(gate.run([&] {
        throw RuntimeError::overflow();
        restRan = true;
    }));
    EXPECT_EQ(boxes, QStringList{RuntimeError::overflow().boxText()});
    EXPECT_TRUE(busyDuringBox);
    EXPECT_FALSE(restRan);
    EXPECT_FALSE(gate.busy());
    EXPECT_TRUE(gate.run([] {})); // and the next event gets through
}

TEST(HandlerGate, OtherFailuresPassThroughAndLeaveTheGateOpen)
{
    QStringList boxes;
    HandlerGate gate([&](const QString& text) { boxes << text; });
    EXPECT_THROW(gate.run([] { throw std::logic_error("not a run-time error of the game"); }), std::logic_error);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_FALSE(gate.busy());
}

} // namespace
} // namespace zw::view
