#include "vlc/basicauth.h"

eString base64Encode(const eString &text)
{
	static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	eString out;
	out.reserve((text.size() + 2) / 3 * 4);
	size_t i = 0;
	for (; i + 2 < text.size(); i += 3)
	{
		unsigned v = (unsigned char)text[i] << 16 | (unsigned char)text[i + 1] << 8 | (unsigned char)text[i + 2];
		out += alphabet[v >> 18 & 63];
		out += alphabet[v >> 12 & 63];
		out += alphabet[v >> 6 & 63];
		out += alphabet[v & 63];
	}
	size_t rest = text.size() - i;
	if (rest > 0)
	{
		unsigned v = (unsigned char)text[i] << 16;
		if (rest == 2)
			v |= (unsigned char)text[i + 1] << 8;
		out += alphabet[v >> 18 & 63];
		out += alphabet[v >> 12 & 63];
		out += rest == 2 ? alphabet[v >> 6 & 63] : '=';
		out += '=';
	}
	return out;
}

eString basicAuthorizationHeader(const eString &credentials)
{
	return "Authorization: Basic " + base64Encode(credentials) + "\r\n";
}
