#include "host/estring.h"

#include <cstdio>
#include <cstring>
#include <vector>

eString &eString::vsprintf(const char *fmt, va_list ap)
{
	va_list copy;
	va_copy(copy, ap);
	char small[256];
	int n = std::vsnprintf(small, sizeof(small), fmt, copy);
	va_end(copy);
	if (n < 0)
	{
		clear();
		return *this;
	}
	if (static_cast<size_t>(n) < sizeof(small))
	{
		assign(small, n);
		return *this;
	}
	std::vector<char> big(n + 1);
	std::vsnprintf(big.data(), big.size(), fmt, ap);
	assign(big.data(), n);
	return *this;
}

eString &eString::sprintf(const char *fmt, ...)
{
	va_list ap;
	va_start(ap, fmt);
	vsprintf(fmt, ap);
	va_end(ap);
	return *this;
}

eString eString::format(const char *fmt, ...)
{
	eString s;
	va_list ap;
	va_start(ap, fmt);
	s.vsprintf(fmt, ap);
	va_end(ap);
	return s;
}

eString eString::upper() const
{
	eString s(*this);
	for (char &c : s)
		if (c >= 'a' && c <= 'z')
			c = static_cast<char>(c - 'a' + 'A');
	return s;
}

eString eString::lower() const
{
	eString s(*this);
	for (char &c : s)
		if (c >= 'A' && c <= 'Z')
			c = static_cast<char>(c - 'A' + 'a');
	return s;
}

eString eString::left(size_t n) const
{
	return eString(substr(0, n));
}

eString eString::right(size_t n) const
{
	if (n >= size())
		return *this;
	return eString(substr(size() - n));
}

eString eString::mid(size_t pos, size_t n) const
{
	if (pos >= size())
		return eString();
	return eString(substr(pos, n));
}

eString &eString::strReplace(const char *what, const eString &with)
{
	size_t wlen = std::strlen(what);
	if (!wlen)
		return *this;
	size_t pos = 0;
	while ((pos = find(what, pos, wlen)) != npos)
	{
		replace(pos, wlen, with);
		pos += with.size();
	}
	return *this;
}
