#pragma once

#include <string>

// The processor's model name, for the heading of a report.
std::string MachineName();
