#pragma once
// A "local.dat" written by the tests and loaded into the program's text table.
#include <string>
#include <utility>
#include <vector>

using TextLines = std::vector<std::pair<std::wstring, std::wstring>>;

// Every key that the descriptions look up, each with a short value of its own.
const TextLines& DescriptionTexts();

// Writes the lines as section "[Test]" of a UTF-16 file in a temporary folder and loads it.
bool LoadTestTexts(const TextLines& lines);
