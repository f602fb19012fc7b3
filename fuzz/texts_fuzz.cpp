// "system\text00.txt" to "system\text04.txt": the same bytes read into each of the five tables.
#include "data/texts.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzzing::bytesOf(data, size);
    // Windows line ends read as bare line feeds; only a text without carriage returns can be turned
    // into its Windows twin without changing its lines.
    const bool unixText = bytes.find('\r') == std::string_view::npos;
    const std::string windowsText = unixText ? fuzzing::withWindowsLineEnds(bytes) : std::string();

    for (const data::TextTableShape& shape : data::kTextTableShapes) {
        data::TextTable table(shape);
        readTextTable(bytes, table);
        for (int slot = 0; slot < table.slots(); ++slot) {
            const std::string_view text = table.text(slot);
            // A slot holds one line, cut to leave room for its terminating zero.
            FUZZ_CHECK(text.size() <= static_cast<size_t>(shape.width - 1));
            FUZZ_CHECK(text.find('\n') == std::string_view::npos);
        }

        if (unixText) {
            data::TextTable twin(shape);
            readTextTable(windowsText, twin);
            for (int slot = 0; slot < table.slots(); ++slot) FUZZ_CHECK(twin.text(slot) == table.text(slot));
        }
    }
    return 0;
}
