#pragma once
// Small tools the screen-text steps share: sets that merge (pixels into areas, glyphs into
// units) and the median.
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

namespace gs::tools {

struct Sets {
    std::vector<int32_t> parent;
    explicit Sets(size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
    int32_t find(int32_t x) {
        while (parent[static_cast<size_t>(x)] != x) {
            parent[static_cast<size_t>(x)] = parent[static_cast<size_t>(parent[x])];
            x = parent[static_cast<size_t>(x)];
        }
        return x;
    }
    // The smaller element stays the root, so every element's parent comes before it.
    void unite(int32_t a, int32_t b) {
        a = find(a);
        b = find(b);
        if (a != b) parent[static_cast<size_t>(std::max(a, b))] = std::min(a, b);
    }
    // Replaces each element's parent by its set's number (0, 1, ... in order of first elements).
    int32_t number() {
        int32_t n = 0;
        for (size_t i = 0; i < parent.size(); ++i)
            parent[i] =
                parent[i] == static_cast<int32_t>(i) ? n++ : parent[static_cast<size_t>(parent[i])];
        return n;
    }
};

template <class T>
T Median(std::vector<T> v) {
    if (v.empty()) return T{};
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

}  // namespace gs::tools
