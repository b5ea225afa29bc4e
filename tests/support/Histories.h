#pragma once

#include "core/history/DrawHistory.h"

#include <initializer_list>
#include <vector>

// Small histories for tests. A draw is its number and nine fields; 0 stands for an empty field.
struct DrawSpec {
    int drawNumber;
    std::array<int, 9> numbers;
};

inline DrawRecord makeDraw(int drawNumber, const std::array<int, 9> &numbers) {
    DrawRecord r;
    r.drawNumber = drawNumber;
    for (int k = 0; k < 9; ++k)
        if (numbers[k] != 0)
            r.numbers[k] = numbers[k];
    return r;
}

inline DrawHistory makeHistory(const std::vector<DrawSpec> &draws) {
    std::vector<DrawRecord> records;
    for (const DrawSpec &d : draws)
        records.push_back(makeDraw(d.drawNumber, d.numbers));
    return DrawHistory(std::move(records));
}

inline DrawHistory makeHistory(std::initializer_list<DrawSpec> draws) {
    return makeHistory(std::vector<DrawSpec>(draws));
}

// A frozen copy of the real history as it stood at 688 draws (loto7-draws-688.csv among the
// tests' own data files), parsed without the importer. The shipped history grows every week;
// the tests must not.
DrawHistory realHistory();
