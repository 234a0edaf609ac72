#pragma once

#include <QFont>
#include <QString>
#include <optional>

// One column of a data grid: the field it shows and how its title looks. A width of -1 takes the
// width from the field's size; an empty title takes the field's display label.
struct GridColumn {
    QString fieldName;
    int width = -1;
    QString title;
    Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    std::optional<QFont> titleFont;
};

// The check-mark glyph that a marking column's title shows.
inline const QString checkMarkCaption = QStringLiteral("\u2713");
