#include "core/io/CsvText.h"

#include <QRegularExpression>

QString CsvText::quoteField(const QString &field) {
    static const QRegularExpression special(QStringLiteral("[,\"\\r\\n]"));
    if (!field.contains(special))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
