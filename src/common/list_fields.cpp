#include "common/list_fields.h"

QString ListField(const QString& text, int k)
{
    if (k <= 0) {
        return QString();
    }
    const QStringList fields = text.split(QStringLiteral("||"));
    return fields[std::min<qsizetype>(k, fields.size()) - 1];
}

int IndexOfField(const QStringList& items, const QString& value, int k)
{
    for (int i = 0; i < int(items.size()); ++i) {
        if (ListField(items[i], k) == value) {
            return i;
        }
    }
    return -1;
}
