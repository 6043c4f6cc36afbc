#ifndef HOST_PLATFORM_H
#define HOST_PLATFORM_H

#include "host/estring.h"

// Small platform utilities the plug-in calls by their receiver names.

// The value 0..15 of a hexadecimal digit ("0".."9", "a".."f", "A".."F").
// Any other byte gives 0, so a malformed escape decodes deterministically.
int getHex(int c);

// Message translation. No catalogues exist yet, so the text comes back unchanged.
#ifndef LC_MESSAGES
#include <clocale>
#endif
const char *dcgettext(const char *domain, const char *msgid, int category) noexcept;
#define _(x) dcgettext(nullptr, x, LC_MESSAGES)

#endif
