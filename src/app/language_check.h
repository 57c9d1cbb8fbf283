// The content check of each language: its catalog held against the
// template. Everything it finds is a warning; a language with gaps still
// plays, showing the original where a translation is missing.
#pragma once

#include <iosfwd>
#include <string>

#include "app/text_template.h"
#include "platform/catalog.h"

namespace pelmot {

class TextEngine;

// For each language of `catalogs`, in order, on `err`: "lang/CODE.po:LINE:
// warning: ..." for every text untranslated, fuzzy, obsolete or stale, and
// every translation that cannot page and does not fit its row as
// `measure` draws it in the western face (no width checks without one);
// then one line of counts for the language on `out`.
void CheckLanguages(const TextTemplate& text, Catalogs& catalogs, TextEngine* measure, const std::string& contentDir,
                    std::ostream& out, std::ostream& err);

}  // namespace pelmot
