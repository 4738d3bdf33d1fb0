#pragma once
// The record as CSV: UTF-8 with a byte-order mark (so that spreadsheets take
// the symbols and units for UTF-8), a header row naming each quantity with its
// unit ("t (s)", "|Z| (Ω)", ...), then a row per point; an unknown value is an
// empty field. Numbers are fixed-point (no exponents), with the dialect's
// decimal separator; with a decimal comma they are quoted, so that a reader
// that splits at commas as well as at semicolons (LibreOffice's import dialog
// by default) keeps them whole.
//
// Columns come after the quantities only when the record needs them: "běh"
// (the run's name, as quoted text) when it holds more than one run or a run
// with a name of its own; "přebuzeno" and "ustáleno" (1 or 0) when a point
// is flagged. A record of one run without flags is written as it always was.
#include "lab/csv_dialect.h"
#include "lab/record/point_record.h"

#include <QByteArray>

namespace lab {

QByteArray csvOf(const PointRecord& record, const CsvDialect& dialect);

}  // namespace lab
