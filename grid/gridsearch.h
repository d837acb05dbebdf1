#pragma once
// Cell-by-cell search of a grid (the search methods of GridSorter, declared in
// grid/gridsort.h) and the reading of date-time texts it uses for soDate keys.

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

namespace kelvari {

// Reads a date and time the way the system reads date-time texts: year/month/day
// (a two-digit year falls within 50 years of today), then optionally
// hour:minute[:second[.millisecond]] with an optional AM or PM; either part may
// stand alone. Returns milliseconds on a continuous scale; raises AppError
// "'<text>' は日付または時刻ではありません" when the text is not a date and time.
qint64 readSystemDateTime(QByteArrayView text);

// The conversion error for a text that is not a date and time.
QString notADateTimeMessage(QByteArrayView text);

} // namespace kelvari
