#include "script/editor/widget/font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <QHash>

namespace script::editor {

namespace {

QString matchFamily(const QString& family)
{
    if (!FcInit())
        return family;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return family;
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return family;
    QString out = family;
    FcChar8* found = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch && found)
        out = QString::fromUtf8(reinterpret_cast<const char*>(found));
    FcPatternDestroy(match);
    return out;
}

} // namespace

QString SubstituteFamily(const QString& family)
{
    // The user-interface thread alone asks, so a plain cache serves.
    static QHash<QString, QString> cache;
    auto it = cache.find(family);
    if (it == cache.end())
        it = cache.insert(family, matchFamily(family));
    return it.value();
}

} // namespace script::editor
