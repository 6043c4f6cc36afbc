// The web interface of VLC 0.8, for which the plug-in was first written.

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "vlc/vlcdialect.h"

namespace
{
class ClassicDialect : public VlcDialect
{
public:
	const char *name() const override { return "classic"; }

	// This interface knows no password on the requests the engine writes.
	eString rawRequestHeaders(const eString &) const override { return eString(); }

	bool commandSucceeded(const char *answer) const override { return std::strstr(answer, "HTTP/1.0 200 OK"); }

	// VLC lists a directory it knows with at least the element of its ".." entry;
	// a directory it cannot list gives its 404 page or some text without elements.
	bool validListing(const eString &answer) const override
	{
		return answer.find("<title>Error 404</title>") == eString::npos &&
			answer.find("<element type=") != eString::npos;
	}

	EntryKind entryKind(const char *type) const override
	{
		if (std::strcmp(type, "directory") == 0)
			return EntryKind::directory;
		if (std::strcmp(type, "file") == 0)
			return EntryKind::file;
		return EntryKind::other;
	}

	// The output chain rides in the input value, behind an escaped space.
	eString playRequest(const eString &quotedInput, const eString &chain) const override
	{
		return "requests/status.xml?command=in_play&input=" + quotedInput + "%20%3Asout%3D" + chain;
	}

	int positionPercent(const char *position) const override
	{
		if (!position)
			return 0;
		long long value = std::strtoll(position, nullptr, 10);
		return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
	}

	// The German name under which VLC 0.8 reports the picture size, in UTF-8 as
	// the answer carries it.
	const char *pictureSizeInfo() const override { return "Aufl\xc3\xb6sung"; }

	// The fourcc alone, as the infobar's narrow field expects it.
	eString codecName(const char *codec) const override { return codec ? eString(codec) : eString(); }
};
} // namespace

const VlcDialect &classicDialect()
{
	static const ClassicDialect dialect;
	return dialect;
}
