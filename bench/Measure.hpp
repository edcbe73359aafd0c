#pragma once
// What every benchmark reads off its runs.

#include <string>
#include <vector>

double Median(std::vector<double> values);
// Resident size in kB of a process ("self" for this one), 0 when it cannot be read.
long ResidentKb(const std::string& pid = "self");
