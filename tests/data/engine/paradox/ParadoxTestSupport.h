#pragma once
// Helpers shared by the Paradox driver tests: a scratch folder, opening
// tables through the driver, reading all records, and date texts.

#include "data/engine/paradox/ParadoxDriver.h"

#include <memory>
#include <string>
#include <vector>

#include "support/ScratchDir.h"

std::string SharedPath(const std::string& relative);


std::unique_ptr<TEngineCursor> OpenParadox(const std::string& path, bool readOnly = false,
                                           std::vector<std::string> passwords = {});
std::vector<TEngineRecord> ReadAll(TEngineCursor& cursor);

// "YYYY-MM-DD", "HH:MM:SS.mmm", "YYYY-MM-DDTHH:MM:SS[.mmm]" of a TDateTime.
std::string DateText(double dateTime);
std::string TimeText(double dateTime);
std::string DateTimeText(double dateTime);
// TDateTime of a civil date.
double CivilToDateTime(int year, int month, int day);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
