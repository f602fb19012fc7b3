#include "sim/script.hpp"

#include <gtest/gtest.h>

namespace {

using sim::SimCommand;
using Kind = SimCommand::Kind;

SimCommand command(std::string_view line) {
    const sim::SimLine parsed = sim::parseSimLine(line);
    const auto* c = std::get_if<SimCommand>(&parsed);
    EXPECT_NE(c, nullptr) << line;
    return c ? *c : SimCommand{};
}

std::string error(std::string_view line) {
    const sim::SimLine parsed = sim::parseSimLine(line);
    const auto* e = std::get_if<sim::SimScriptError>(&parsed);
    return e ? e->message : "(no error)";
}

TEST(SimScript, ReadsEachCommandWithItsArguments) {
    EXPECT_EQ(command("tick").count, 1);
    EXPECT_EQ(command(" \ttick   3\r").count, 3);
    EXPECT_EQ(command("wait 0").kind, Kind::Wait);

    const SimCommand press = command("press right");
    EXPECT_EQ(press.kind, Kind::Press);
    EXPECT_EQ(press.button, present::MouseButton::Right);
    EXPECT_FALSE(press.hasPoint);
    const SimCommand release = command("release left -5 600");
    EXPECT_TRUE(release.hasPoint);
    EXPECT_EQ(release.x, -5);
    EXPECT_EQ(release.y, 600);
    EXPECT_EQ(command("release Escape").kind, Kind::ReleaseEscape);
    EXPECT_EQ(command("dblclick right 1 2").kind, Kind::DoubleClick);

    EXPECT_EQ(command("key q").letter, 'q');
    EXPECT_EQ(command("key q").key, present::Key::Letter);
    EXPECT_EQ(command("key Backspace").key, present::Key::Backspace);
    EXPECT_EQ(command("key AltEnter").kind, Kind::AltEnter);
    EXPECT_EQ(command("text  a b\t").text, " a b\t") << "everything after one blank is typed";
    EXPECT_EQ(command("text").text, "");

    const SimCommand board = command("board 0123456789 " + std::string(90, '7') + "\r");
    ASSERT_EQ(board.digits.size(), 100u);
    EXPECT_EQ(board.digits[1], 1);
    EXPECT_EQ(board.digits[99], 7);
    const SimCommand dump = command("dump gfx -");
    EXPECT_EQ(dump.name, "gfx");
    EXPECT_EQ(dump.file, "-");
    EXPECT_DOUBLE_EQ(command("set remaining 2.5").value, 2.5);
    EXPECT_EQ(command("save").kind, Kind::Save);
    EXPECT_EQ(command("save run").kind, Kind::SaveRun);
}

TEST(SimScript, BlankLinesCommentsAndOtherBlanksAreNothing) {
    // A line of form feeds or vertical tabs has no command word at all.
    for (const char* line : {"", "   ", "\r", "\t# a comment", "#tick", "\f", "\v \v", " \x0b\r"})
        EXPECT_TRUE(std::holds_alternative<sim::SimNothing>(sim::parseSimLine(line))) << line;
}

TEST(SimScript, ErrorsNameWhatIsWrong) {
    EXPECT_EQ(error("tick -1"), "negative tick count");
    EXPECT_EQ(error("tick 1 2"), "wrong number of arguments to tick");
    EXPECT_EQ(error("wait 3x"), "not a whole number: 3x");
    EXPECT_EQ(error("wait -3"), "negative wait");
    EXPECT_EQ(error("move 1"), "wrong number of arguments to move");
    EXPECT_EQ(error("release right"), "not a mouse button: right");
    EXPECT_EQ(error("press left 1"), "wrong number of arguments to press");
    EXPECT_EQ(error("hold Space"), "only Escape can be held");
    EXPECT_EQ(error("key F1"), "unknown key F1");
    EXPECT_EQ(error("key 7"), "unknown key 7");
    EXPECT_EQ(error("focus up"), "focus takes in or out");
    EXPECT_EQ(error("board 12a"), "not a digit: a");
    EXPECT_EQ(error("bonus 123"), "expected 100 digits, got 3");
    EXPECT_EQ(error("dump all -"), "dump takes levels, gfx or texts");
    EXPECT_EQ(error("set remaining 1e999"), "not a number: 1e999");
    EXPECT_EQ(error("set remaining nan"), "not a number: nan");
    EXPECT_EQ(error("set remaining"), "wrong number of arguments to set");
    EXPECT_EQ(error("save all"), "save takes nothing or run");
    EXPECT_EQ(error("frobnicate 1"), "unknown command frobnicate");
}

}  // namespace
