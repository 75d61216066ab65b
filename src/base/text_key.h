#pragma once

namespace kerfline {

// A language key as a value, for tables of texts (menus, lists). Lookups through Text() or a
// TextKey with literal strings are what the key-coverage test finds in the sources.
struct TextKey {
    const char* section;
    const char* key;
};

}  // namespace kerfline
