#ifndef HOST_ESTRING_H
#define HOST_ESTRING_H

#include <cstdarg>
#include <string>

// The platform's string: a std::string of 8-bit bytes with the few helpers the
// plug-in's code is written with. Nothing here knows about character sets; every
// operation works on bytes, and upper() folds only the ASCII letters.
class eString : public std::string
{
public:
	eString() = default;
	eString(const std::string &s) : std::string(s) {}
	eString(std::string &&s) : std::string(std::move(s)) {}
	eString(const char *s) : std::string(s ? s : "") {}
	eString(const char *s, size_t n) : std::string(s, n) {}
	eString(size_t n, char c) : std::string(n, c) {}

	// Replaces the contents with the printf-style formatted text and returns *this.
	eString &sprintf(const char *fmt, ...) __attribute__((format(printf, 2, 3)));
	eString &vsprintf(const char *fmt, va_list ap);

	// A copy with the ASCII letters a..z in upper case; other bytes unchanged.
	eString upper() const;
	eString lower() const;

	// The first n bytes (all when shorter).
	eString left(size_t n) const;
	// The last n bytes (all when shorter).
	eString right(size_t n) const;
	// n bytes from pos (to the end when n is npos or runs past it; empty when pos is past the end).
	eString mid(size_t pos, size_t n = npos) const;

	bool isNull() const { return empty(); }
	// Replaces every occurrence of what by with; returns *this.
	eString &strReplace(const char *what, const eString &with);

	// The formatted text as a new string.
	static eString format(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
};

#endif
