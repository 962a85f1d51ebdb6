#pragma once

#include <QString>

// The JSON text of a number or a string standing alone, as a script reads
// it back.

// 'g' format, 6 significant digits; NaN and the infinities by the names a
// script knows them by.
QString formatNumber(double value);

// A JSON string literal that is also a script string literal.
QString quoteString(const QString& text);
