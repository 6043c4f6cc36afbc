#include <algorithm>
#include <cstring>

#include "browser/elistboxentryquelt.h"
#include "browser/fileextension.h"
#include "browser/playlist.h"
#include "engine/engine.h"
#include "host/ezaplcd.h"
#include "host/gpixmap.h"
#include "plugin/equelt.h"
#include "plugin/globals.h"

namespace
{
const char *const pictureDirectory = "/var/tuxbox/config/enigma/pictures/quelt/";

// The icon file of a record, below the picture directory; empty for a kind that has none.
eString iconFile(const PLAYLIST &record)
{
	switch (record.type)
	{
	case ENTRY_PARENT:
		return eString::format("%sgoup.png", pictureDirectory);
	case ENTRY_DIRECTORY:
		return eString::format("%sfolder.png", pictureDirectory);
	case ENTRY_PLAYABLE:
		return eString::format("%s%s", pictureDirectory, record.picture.c_str());
	case ENTRY_NO_SERVER:
		return eString::format("%sdefault.png", pictureDirectory);
	default:
		return eString();
	}
}
} // namespace

bool sortByName(const PLAYLIST &a, const PLAYLIST &b)
{
	size_t common = std::min(a.name.size(), b.name.size());
	// memcmp compares as unsigned char: a name in an 8-bit encoding orders by its bytes.
	int order = common ? memcmp(a.name.data(), b.name.data(), common) : 0;
	if (order != 0)
		return order < 0;
	return a.name.size() < b.name.size();
}

bool sortByType(const PLAYLIST &a, const PLAYLIST &b)
{
	if (a.type == b.type)
		return sortByName(a, b);
	return a.type < b.type;
}

void eQUELT::viewList(int select)
{
	if (!playList.empty())
		std::sort(playList.begin(), playList.end(), sortByType);

	fileList->beginAtomic();
	// The entries go first: they point at the pictures of the old list.
	fileList->clearList();
	listIcons.clear();
	icon = nullptr;

	eListBoxEntryQUELT *remembered = nullptr;
	int i = 0;
	for (const PLAYLIST &record : playList)
	{
		eString file = iconFile(record);
		icon = file.empty() ? nullptr : loadPNG(file.c_str());
		if (icon)
			listIcons.emplace_back(icon);
		auto *entry = new eListBoxEntryQUELT(fileList, record.label, icon, i);
		// The ".." entry is never highlighted this way.
		if (select > 0 && record.type != ENTRY_PARENT && i == select)
			remembered = entry;
		++i;
	}
	if (remembered)
		fileList->setCurrent(remembered, false);
	fileList->endAtomic();

	if (eListBoxEntryQUELT *current = fileList->getCurrent())
		setStatus(current->getIndex());

	// A recording is due: every refresh of the list ends the plug-in.
	if (TIMEREVENT != 0)
		close(0);
}

void eQUELT::listSelChanged(eListBoxEntryQUELT *entry)
{
	if (!entry || !menuVisible || !CONNECTION)
		return;
	currentIndex = entry->getIndex();
	setStatus(currentIndex);
	eZapLCD::getInstance()->lcdMain->setServiceName(entry->getText());
}

void eQUELT::listSelected(eListBoxEntryQUELT *entry)
{
	if (!entry || !menuVisible || !CONNECTION)
		return;
	int index = entry->getIndex();
	if (index < 0 || index >= int(playList.size()))
		return;
	currentIndex = index;
	const PLAYLIST &record = playList[size_t(index)];
	loadFile = record.name;
	nextFile = size_t(index) + 1 < playList.size() ? playList[size_t(index) + 1].name : eString("Playlist End");

	if (record.type == ENTRY_PLAYABLE)
		playerStart(currentIndex);
	else
		// For ".." VLC itself resolves the dots in the path. The path is copied
		// before the listing replaces the record.
		loadList(LIST_FILE, eString(record.path));
}

// The playable types are those the settings file has a "File" setup for.
bool eQUELT::checkExtensions(eString name)
{
	return eQUELTEngine::getInstance()->config.getVideoParms("File", fileExtension(name)).name == "File";
}
