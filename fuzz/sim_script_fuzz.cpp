// lumerik-sim scripts: every line of the input read by the script parser, as the run reads them.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "fuzz_check.hpp"
#include "sim/script.hpp"

namespace {

using sim::SimCommand;
using Kind = SimCommand::Kind;

bool sameCommand(const SimCommand& a, const SimCommand& b) {
    return a.kind == b.kind && a.count == b.count && a.x == b.x && a.y == b.y && a.hasPoint == b.hasPoint &&
           a.button == b.button && a.key == b.key && a.letter == b.letter && a.text == b.text && a.file == b.file &&
           a.name == b.name && std::memcmp(&a.value, &b.value, sizeof a.value) == 0 && a.digits == b.digits;
}

bool sameLine(const sim::SimLine& a, const sim::SimLine& b) {
    if (a.index() != b.index()) return false;
    if (const auto* command = std::get_if<SimCommand>(&a)) return sameCommand(*command, std::get<SimCommand>(b));
    if (const auto* error = std::get_if<sim::SimScriptError>(&a))
        return error->message == std::get<sim::SimScriptError>(b).message;
    return true;
}

void checkLine(std::string_view line) {
    const sim::SimLine parsed = sim::parseSimLine(line);
    if (const auto* error = std::get_if<sim::SimScriptError>(&parsed)) FUZZ_CHECK(!error->message.empty());
    if (const auto* c = std::get_if<SimCommand>(&parsed)) {
        switch (c->kind) {
            case Kind::Tick:
            case Kind::Wait: FUZZ_CHECK(c->count >= 0); break;
            case Kind::Board:
            case Kind::Bonus:
                FUZZ_CHECK(c->digits.size() == 100);
                for (uint8_t digit : c->digits) FUZZ_CHECK(digit <= 9);
                break;
            case Kind::Key:
                FUZZ_CHECK(c->key != present::Key::Other);
                FUZZ_CHECK(c->key != present::Key::Letter || std::isalpha(c->letter));
                break;
            case Kind::Dump: FUZZ_CHECK(c->name == "levels" || c->name == "gfx" || c->name == "texts"); break;
            case Kind::Text:
                // The bytes typed are the end of the line itself.
                FUZZ_CHECK(c->text.size() <= line.size() &&
                           line.substr(0, line.size() - (line.ends_with('\r') ? 1 : 0)).ends_with(c->text));
                break;
            case Kind::Shot:
            case Kind::State: FUZZ_CHECK(!c->file.empty()); break;
            default: break;
        }
    }
    // Blanks before a command and the carriage return of a Windows line end change nothing.
    FUZZ_CHECK(sameLine(sim::parseSimLine(" \t " + std::string(line)), parsed));
    if (!line.ends_with('\r')) FUZZ_CHECK(sameLine(sim::parseSimLine(std::string(line) + "\r"), parsed));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view script = fuzzing::bytesOf(data, size);
    for (size_t start = 0; start <= script.size();) {
        const size_t end = std::min(script.find('\n', start), script.size());
        checkLine(script.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}
