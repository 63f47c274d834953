#pragma once
// The family the system offers for a font name the editor was given
// ("Courier New" is Liberation Mono here, "Tahoma" a sans-serif face),
// found through fontconfig as the scene text of the plot control finds its
// fonts. The name itself when fontconfig knows nothing better.

#include <QString>

namespace script::editor {

QString SubstituteFamily(const QString& family);

} // namespace script::editor
