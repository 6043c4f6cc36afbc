#include <climits>
#include <cstdint>
#include <memory>

#include "browser/playlist.h"
#include "config/configkeys.h"
#include "engine/engine.h"
#include "host/econfig.h"
#include "host/log.h"
#include "host/platform.h"
#include "host/xmltree.h"
#include "plugin/equelt.h"
#include "plugin/globals.h"
#include "vlc/parsexml.h"
#include "vlc/vlcdialect.h"

namespace
{
const char *const browseRequest = "/requests/browse.xml?dir=";
const int discChapters = 20;

bool validListing(const eString &answer)
{
	return activeVlcDialect().validListing(answer);
}

eString attribute(const XMLTreeNode *node, const char *name)
{
	const char *value = node->GetAttributeValue(name);
	return value ? eString(value) : eString();
}

// A file size in MiB from VLC's decimal byte count: the leading digits (after
// blanks), 0 when there are none. A count too large for any file still gives a
// size, the largest the status line can show.
int sizeInMB(const eString &text)
{
	size_t i = 0;
	while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
		++i;
	uint64_t bytes = 0;
	for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
	{
		unsigned digit = unsigned(text[i] - '0');
		if (bytes > (UINT64_MAX - digit) / 10)
		{
			bytes = UINT64_MAX;
			break;
		}
		bytes = bytes * 10 + digit;
	}
	uint64_t mb = bytes / 1048576;
	return mb > uint64_t(INT_MAX) ? INT_MAX : int(mb);
}

struct DiscMode
{
	const char *name;
	const char *prefix;      // the address prefix before the drive
	const char *mediaPrefix; // the same for a drive written as a /media path
	int pictureKind;
};

const DiscMode *discMode(int mode)
{
	static const DiscMode vcd{"(S)VCD", "vcd://", "vcd:///", 2};
	static const DiscMode svcd{"(S)SVCD", "svcd://", "svcd:///", 2};
	static const DiscMode dvd{"DVD", "dvdsimple://", "dvdsimple:///", 3};
	switch (mode)
	{
	case LIST_VCD:
		return &vcd;
	case LIST_SVCD:
		return &svcd;
	case LIST_DVD:
		return &dvd;
	default:
		return nullptr;
	}
}

// Every backslash written twice, in one pass: an answer may be megabytes long.
eString doubleBackslashes(const eString &text)
{
	eString out;
	out.reserve(text.size());
	for (char c : text)
	{
		out += c;
		if (c == '\\')
			out += c;
	}
	return out;
}

// Asks VLC for the listing of path (falling back to startdir when VLC cannot list
// it) and appends its entries to the window's playList.
void browseDirectory(eQUELT &window, const eString &path)
{
	eString answer;
	window.sendGetRequest(browseRequest + eQUELT::quote(path), answer);
	if (answer.empty())
	{
		window.showNoServerList();
		return;
	}

	eDebug("[quelt_RC]: received server response");
	if (validListing(answer))
	{
		eDebug("[quelt_RC]: server response is valid!");
		startdir = path;
		CONNECTION = true;
	}
	else
	{
		eDebug("[quelt_RC]: server response is'nt valid, or startpath doesnt exists. trying to get initial path");
		answer.clear();
		window.sendGetRequest(browseRequest + eQUELT::quote(startdir), answer);
		// An empty answer here leaves the connection as it was: only an answer
		// with text decides.
		if (!answer.empty())
		{
			if (validListing(answer))
			{
				eDebug("[quelt_RC: connection to vlc server successfully established with xml dest. path");
				window.setText(startdir);
				CONNECTION = true;
			}
			else
			{
				eDebug("[quelt_RC]: cant establish connection to vlc server");
				CONNECTION = false;
			}
		}
	}
	if (!CONNECTION)
	{
		window.showNoServerList();
		return;
	}

	// Names and paths keep their backslashes doubled: they go back to VLC as they
	// are, for the next listing and for playback.
	answer = eQUELTEngine::getInstance()->unquote(answer);
	answer = doubleBackslashes(answer);

	std::unique_ptr<XMLTreeParser> tree(parseXml(answer.c_str()));
	if (!tree)
		return;
	const VlcDialect &dialect = activeVlcDialect();
	for (XMLTreeNode *node = tree->RootNode()->GetChild(); node; node = node->GetNext())
	{
		const char *type = node->GetAttributeValue("type");
		if (!type)
			continue;
		VlcDialect::EntryKind kind = dialect.entryKind(type);
		if (kind == VlcDialect::EntryKind::directory)
		{
			eString dirPath = attribute(node, "path");
			eString name = attribute(node, "name");
			PLAYLIST entry;
			entry.path = dirPath;
			if (name == "..")
			{
				entry.type = ENTRY_PARENT;
				// The listed directory itself: the ".." path without its separator and dots.
				l_path = dirPath.size() < 3 ? dirPath : dirPath.left(dirPath.size() - 3);
			}
			else if (name == "A:" || name.upper() == cddrive)
				continue;
			else
			{
				entry.type = ENTRY_DIRECTORY;
				entry.name = entry.label = name;
				l_path = dirPath;
			}
			window.playList.push_back(entry);
		}
		else if (kind == VlcDialect::EntryKind::file)
		{
			eString name = attribute(node, "name");
			if (!window.checkExtensions(name))
				continue;
			PLAYLIST entry;
			entry.type = ENTRY_PLAYABLE;
			entry.name = entry.label = name;
			entry.path = attribute(node, "path");
			entry.picture = window.getPicture(name);
			entry.sizeMB = sizeInMB(attribute(node, "size"));
			window.playList.push_back(entry);
		}
	}
}
} // namespace

void eQUELT::loadList(int mode, eString path)
{
	if ((path.empty() && mode == LIST_FILE) || !CONNECTION)
	{
		showNoServerList();
		return;
	}

	// Neither a floppy drive nor the disc drive can be browsed as files; the disc
	// drive is reached through the disc modes. The listing then stays as it was.
	eString drive = cddrive;
	eString head = path.left(2).upper();
	if (head == "A:" || head == "B:")
	{
		if (mode == LIST_FILE)
			return;
	}
	else
	{
		drive = drive.upper();
		if (head == drive && mode == LIST_FILE)
			return;
	}

	playList.clear();
	listMode = mode;

	const DiscMode *disc = discMode(mode);
	if (mode == LIST_FILE)
		setText("File: " + path);
	else if (disc)
		setText(eString("QUELT: ") + disc->name + " Drive -" + cddrive);

	if (mode == LIST_FILE)
		browseDirectory(*this, path);
	else if (disc)
	{
		// The drive as the guard left it: upper-cased unless the path named a
		// floppy, so a drive written /media/... in lower case takes the short prefix.
		const char *prefix = drive.left(6) == "/media" ? disc->mediaPrefix : disc->prefix;
		eString picture = getPicture(disc->pictureKind);
		for (int n = 1; n <= discChapters; ++n)
		{
			PLAYLIST chapter;
			chapter.type = ENTRY_PLAYABLE;
			chapter.name = eString::format("Play Chapter (if it exists) %02d", n);
			chapter.label = chapter.name;
			chapter.path = prefix + cddrive + eString::format("@1:%02d-", n);
			chapter.picture = picture;
			playList.push_back(chapter);
		}
		setFocus(fileList);
	}

	eConfig::getInstance()->setKey(configkey::lastmode, mode);
	viewList(0);
}

void eQUELT::showNoServerList()
{
	CONNECTION = false;
	playList.clear();
	setText(eString("QUELT: ") + _("NO CONNECTION TO VLC - PLEASE CHECK"));
	PLAYLIST placeholder;
	placeholder.type = ENTRY_NO_SERVER;
	placeholder.name = placeholder.label = "NO CONNECTION TO VLC SERVER AVAILABLE";
	playList.assign(21, placeholder);
	setFocus(fileList);
	viewList(0);
}
