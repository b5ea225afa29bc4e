// Fuzz target for the draw list reader: any bytes must give either draws within the rules or
// one error with a line that exists, and what is read must write and read back the same.
#include "core/history/DrawCsv.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace {
void check(bool condition, const char *what) {
    if (!condition) {
        fprintf(stderr, "draw list reader: %s\n", what);
        abort();
    }
}

// Lines as the reader counts them: CRLF, LF and a lone CR each end one.
int lineCount(const QByteArray &bytes) {
    int lines = 1;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++lines;
    return lines;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const DrawCsv::ParseResult parsed = DrawCsv::parse(bytes);
    if (parsed.error) {
        check(parsed.records.empty(), "records beside an error");
        check(parsed.error->line >= 1 && parsed.error->line <= lineCount(bytes), "error on a line that is not there");
        check(!parsed.error->text().isEmpty(), "error without text");
        return 0;
    }
    std::set<int> drawNumbers;
    for (const DrawRecord &r : parsed.records) {
        check(r.drawNumber >= 1 && r.drawNumber <= 32767, "draw number out of range");
        check(drawNumbers.insert(r.drawNumber).second, "draw number twice");
        for (const auto &n : r.numbers)
            check(!n || (*n >= 1 && *n <= 37), "number out of range");
    }
    std::vector<DrawRecord> sorted = parsed.records;
    std::sort(sorted.begin(), sorted.end(),
              [](const DrawRecord &a, const DrawRecord &b) { return a.drawNumber < b.drawNumber; });
    const DrawCsv::ParseResult again = DrawCsv::parse(DrawCsv::write(parsed.records));
    check(!again.error, "written list does not read back");
    check(again.records == sorted, "written list reads back different");
    return 0;
}
