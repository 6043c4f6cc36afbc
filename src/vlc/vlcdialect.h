#ifndef VLC_VLCDIALECT_H
#define VLC_VLCDIALECT_H

#include "host/estring.h"

struct serverConfig_stream;

// What differs between the generations of VLC's web interface: the classic one
// of VLC 0.8 and the Lua one of VLC 2 and 3. Everything the plug-in says to VLC
// or reads from it in a way that depends on the generation goes through the
// active dialect, so the rest of the plug-in is written once.
class VlcDialect
{
public:
	enum class EntryKind
	{
		other,
		directory,
		file,
	};

	virtual ~VlcDialect() = default;

	// "classic" or "lua", as the settings file's api attribute names it.
	virtual const char *name() const = 0;

	// The header lines, each ending in CRLF, that a request the engine writes
	// itself carries besides its request line; credentials are "user:pass" or empty.
	virtual eString rawRequestHeaders(const eString &credentials) const = 0;
	// Whether the web interface's answer to such a request reports success.
	virtual bool commandSucceeded(const char *answer) const = 0;

	// Whether a browse answer is a listing; otherwise VLC could not list the directory.
	virtual bool validListing(const eString &answer) const = 0;
	// What a browse element's type attribute makes of it.
	virtual EntryKind entryKind(const char *type) const = 0;

	// The request path, without its leading slash, that has VLC play quotedInput
	// transcoded by chain ("#transcode{...}:std{...}").
	virtual eString playRequest(const eString &quotedInput, const eString &chain) const = 0;

	// The percentage played, from the text of the status answer's position element.
	virtual int positionPercent(const char *position) const = 0;
	// The name of the status information that carries the picture size.
	virtual const char *pictureSizeInfo() const = 0;
	// The codec as the infobar shows it, from the status information "Codec".
	virtual eString codecName(const char *codec) const = 0;
};

const VlcDialect &classicDialect();
const VlcDialect &luaDialect();

// The dialect in use; classic until one was chosen. Any thread may ask.
const VlcDialect &activeVlcDialect();
void setActiveVlcDialect(const VlcDialect &dialect);

// The dialect that an api attribute names, or null for none or an unknown name.
const VlcDialect *vlcDialectNamed(const eString &api);
// The dialect that an answer to "/requests/status.xml" shows: Lua's carries an
// apiversion element, the classic one does not.
const VlcDialect &vlcDialectOfStatus(const eString &answer);

// Chooses the dialect for a freshly loaded server set: the one its api
// attribute names, else the one VLC's status answer shows. Without an answer
// it is classic for now, and the next call asks again. With recheck false a
// decision made for the same address and port is kept without asking VLC;
// GUI thread only.
void chooseVlcDialect(const serverConfig_stream &server, bool recheck);

// The credentials a server set sends: "user:pass" whenever it has a password,
// the user name possibly empty; empty without a password.
eString vlcCredentials(const serverConfig_stream &server);

#endif
