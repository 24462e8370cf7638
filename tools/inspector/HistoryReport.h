#pragma once
// dzinspect --history: the executor's history.dat, newest run first, as lines or JSON.
#include <cstdio>
#include <string>

int InspectHistory(const std::wstring& path, bool json, FILE* out, FILE* err);
