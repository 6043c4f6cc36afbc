#include "timerguard/timerlist.h"

#include <cctype>
#include <climits>
#include <cstdio>

#include "host/log.h"

namespace
{
// A marker and where its value stands: one separator character after it, the
// marker taken as standing at the start of the line.
struct Marker
{
	const char *text;
	size_t valuePosition;
};
const Marker lastActivation = {"#LAST_ACTIVATION", 0};
const Marker timeBegin = {"#TIME_BEGIN", 12};
const Marker duration = {"#DURATION", 10};
const Marker type = {"#TYPE", 6};

bool contains(const eString &line, const Marker &marker)
{
	return line.find(marker.text) != eString::npos;
}

void logRepeating()
{
	eDebug("[quelt]: repeating timer detected... sorry, we would'nt handle this..");
}

// Reads one line of at most TimerList::maxLineLength characters, its line end
// included when it fits. tooLong is set when the line goes on past that;
// atEnd when the file ended with or before it. False when nothing was left.
bool readLine(FILE *file, eString &line, bool &tooLong, bool &atEnd)
{
	line.clear();
	tooLong = false;
	atEnd = false;
	int c = 0;
	while (int(line.size()) < TimerList::maxLineLength && (c = getc(file)) != EOF)
	{
		line += char(c);
		if (c == '\n')
			return true;
	}
	if (c == EOF)
	{
		atEnd = true;
		return !line.empty();
	}
	// The buffer is full: a line end right here only finishes this line.
	c = getc(file);
	if (c == '\n')
		return true;
	if (c == EOF)
		atEnd = true;
	else
		tooLong = true;
	return true;
}
} // namespace

int timerListValue(const eString &line, size_t position)
{
	size_t i = position;
	while (i < line.size() && isspace(static_cast<unsigned char>(line[i])))
		++i;
	bool negative = false;
	if (i < line.size() && (line[i] == '-' || line[i] == '+'))
	{
		negative = line[i] == '-';
		++i;
	}
	long long value = 0;
	for (; i < line.size() && isdigit(static_cast<unsigned char>(line[i])); ++i)
	{
		value = value * 10 + (line[i] - '0');
		if (value > static_cast<long long>(INT_MAX) + 1)
			value = static_cast<long long>(INT_MAX) + 1;
	}
	if (negative)
		value = -value;
	if (value > INT_MAX)
		value = INT_MAX;
	return static_cast<int>(value);
}

void scanTimerListLine(const eString &line, TimerList &list)
{
	if (contains(line, lastActivation))
	{
		logRepeating();
		list.unjudged = true;
	}
	if (contains(line, timeBegin))
	{
		int value = timerListValue(line, timeBegin.valuePosition);
		list.begins.push_back(value);
		if (value <= TimerList::lastRepeatingBegin)
		{
			logRepeating();
			list.unjudged = true;
		}
		else
			eDebug("[quelt]: Timer begins at: %d :: entrypoint: %d", value, int(list.begins.size()) - 1);
	}
	if (contains(line, duration))
	{
		int value = timerListValue(line, duration.valuePosition);
		list.durations.push_back(value);
		eDebug("[quelt]: Timer Duration: %d :: entrypoint: %d", value, int(list.durations.size()) - 1);
	}
	if (contains(line, type))
	{
		int value = timerListValue(line, type.valuePosition);
		list.types.push_back(value);
		eDebug("[quelt]: Timer Type: %d :: entrypoint: %d", value, int(list.types.size()) - 1);
	}
}

bool readTimerList(const eString &hostFile, TimerList &list)
{
	FILE *file = fopen(hostFile.c_str(), "r");
	if (!file)
		return false;
	eString line;
	bool tooLong = false, atEnd = false;
	for (int n = 0; n < TimerList::maxLines && readLine(file, line, tooLong, atEnd); ++n)
	{
		scanTimerListLine(line, list);
		// The rest of an overlong line would pass for a line of its own, with
		// values at the wrong places: the reading ends with it.
		if (atEnd || tooLong)
			break;
	}
	fclose(file);
	return true;
}
