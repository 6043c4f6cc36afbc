#include "windows/equeltstream.h"

#include "host/elabel.h"
#include "host/platform.h"
#include "plugin/globals.h"

namespace
{
const char *const version = "RC21";

struct FileType
{
	const char *extensions[5]; // ends at the first null
	const char *description;
};

// The first row holding the extension decides.
const FileType fileTypes[] = {
	{{"AVI", "DIVX", "XVID"}, " - DivX / XVID"},
	{{"AVS"}, " - AviSyth"},
	{{"MPG", "MPEG", "MP2V", "DAT"}, " - MPEG - Layer 1/2"},
	{{"ASF"}, " - Advanced Streaming Format"},
	{{"WMV"}, " - Windows Media Video"},
	{{"TS"}, " - Transport Stream"},
	{{"VOB"}, " - Video Object"},
	{{"MP3", "OGG", "WAV", "WMA"}, " - Music for the Masses"},
	{{"BIN", "ISO"}, " - Binary Video Format"},
};
} // namespace

eQUELTStream::eQUELTStream() : eWindow(0)
{
	cmove(ePoint(60, 90));
	cresize(eSize(620, 430));
	setText(_("StreamInfo"));
	init();
}

eQUELTStream::~eQUELTStream() = default;

void eQUELTStream::run()
{
	eQUELTStream window;
	window.show();
	window.exec();
	window.hide();
}

void eQUELTStream::init()
{
	versionList = new eListBox<eListBoxEntryText>(this, nullptr, 1, eListBoxEntryText::getEntryHeight(), "eListBox");
	versionList->move(ePoint(5, 5));
	versionList->resize(eSize(1, 1));
	new eListBoxEntryText(versionList, version, nullptr, 0, "");

	infoLabel = new eLabel(this, 0, 0, "eLabel");
	infoLabel->move(ePoint(5, 5));
	infoLabel->resize(eSize(600, 400));

	// The names are shown as they are held, every byte of them.
	infoLabel->setText(eString("Quelt ") + version + "\n\n\nStream 1:\t" + loadFile + "\n\nFiletype:\t" +
		describe(extensionOf(loadFile)) + "\n\n\nStream 2:\t" + nextFile + "\n\nFiletype:\t" +
		describe(extensionOf(nextFile)) + "\n\n\n");
}

eString eQUELTStream::extensionOf(const eString &name)
{
	size_t dot = name.rfind('.');
	return dot == eString::npos ? name : name.mid(dot + 1);
}

eString eQUELTStream::describe(const eString &extension)
{
	eString upper = extension.upper();
	for (const FileType &type : fileTypes)
		for (const char *e : type.extensions)
			if (e && upper == e)
				return type.description;
	return upper + " - Not registered, yet.";
}
