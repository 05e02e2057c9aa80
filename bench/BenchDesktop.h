#pragma once
#include <functional>
#include <vector>

namespace gs::bench {

// Covers the screen with windows of text, a gradient and a photo-like patch.
void ShowDesktop();
double NowMs();
double Median(std::vector<double> v);
// The median time of `runs` calls, in milliseconds.
double TimeIt(int runs, const std::function<void()>& f);

}  // namespace gs::bench
