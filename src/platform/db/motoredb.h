#pragma once
// The database engines a company database can live on: a SQLite file where the suite had a
// Jet file, PostgreSQL (through ODBC) where it had an ODBC source.
#include <cstdint>

enum class MotoreDb : uint8_t { SQLite, PostgreSQL };
