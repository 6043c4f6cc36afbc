#include "host/platform.h"

int getHex(int c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return 0;
}

const char *dcgettext(const char *, const char *msgid, int) noexcept
{
	return msgid;
}
