#pragma once

#include <QString>

// The one rule for writing a CSV field, shared by every export: a field holding a comma, a
// quote, a carriage return or a line feed is quoted, with its quotes written twice.
namespace CsvText {
QString quoteField(const QString &field);
}
