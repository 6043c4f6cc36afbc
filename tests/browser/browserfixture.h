#ifndef BROWSER_BROWSERFIXTURE_H
#define BROWSER_BROWSERFIXTURE_H

// The main window with a settings file that knows a few file types and both disc
// kinds, and helpers to read what the browser shows.

#include <vector>

#include "browser/elistboxentryquelt.h"
#include "host/estatusbar.h"
#include "plugin/mainwindowfixture.h"

namespace browsertest
{
class BrowserTest : public mainwindowtest::MainWindowTest
{
protected:
	void SetUp() override
	{
		MainWindowTest::SetUp();
		writeBrowserSettings("D:");
	}

	// Set 1 is VLC's double with this disc drive; files of the types AVI, MPG,
	// README and GZ are playable.
	void writeBrowserSettings(const eString &cddrive, bool withDiscSetups = true)
	{
		const char *setup = "<setup name=\"%s\" pic=\"%s\" ext=\"%s\" Videorate=\"1024\" Videotranscode=\"1\" "
							"Videocodec=\"mpeg2\" Videosize=\"704x576\" Audiorate=\"192\" Audiotranscode=\"1\" "
							"fps=\"25\"/>\n";
		eString setups = eString::format(setup, "File", "avi.png", "AVI") +
			eString::format(setup, "File", "mpg.png", "MPG") + eString::format(setup, "File", "text.png", "README") +
			eString::format(setup, "File", "", "GZ");
		if (withDiscSetups)
			setups += eString::format(setup, "DVD", "dvd.png", "NONE") + eString::format(setup, "VCD", "vcd.png", "NONE");
		host.writeFile("/var/tuxbox/config/quelt.xml",
			eString::format("<vlc>\n"
							"<server name=\"set1\" ip=\"127.0.0.1\" webif-port=\"%d\" stream-port=\"%d\"/>\n"
							"<config name=\"set1\" startdir=\"/media/films\" cddrive=\"%s\"/>\n",
				vlc.webPort(), vlc.streamPort(), cddrive.c_str()) +
				setups + "</vlc>\n");
	}

	// The texts of the list's rows, in order.
	static std::vector<eString> rows(const eQUELT &window)
	{
		std::vector<eString> out;
		for (eListBoxEntry *entry : window.fileList->getEntries())
			out.push_back(entry->getText());
		return out;
	}

	static std::vector<eString> paths(const eQUELT &window)
	{
		std::vector<eString> out;
		for (const PLAYLIST &record : window.playList)
			out.push_back(record.path);
		return out;
	}

	static std::vector<int> types(const eQUELT &window)
	{
		std::vector<int> out;
		for (const PLAYLIST &record : window.playList)
			out.push_back(record.type);
		return out;
	}

	static std::vector<eString> placeholderRows()
	{
		return std::vector<eString>(21, "NO CONNECTION TO VLC SERVER AVAILABLE");
	}

	static const char *noConnectionTitle() { return "QUELT: NO CONNECTION TO VLC - PLEASE CHECK"; }
};
} // namespace browsertest

#endif
