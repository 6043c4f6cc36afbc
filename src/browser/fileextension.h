#ifndef BROWSER_FILEEXTENSION_H
#define BROWSER_FILEEXTENSION_H

#include "host/estring.h"

// The part of a file name after its last dot, as the transcoding setups are
// looked up: the whole name when it has no dot, empty after a final dot.
inline eString fileExtension(const eString &name)
{
	size_t dot = name.rfind('.');
	return dot == eString::npos ? name : name.mid(dot + 1);
}

#endif
