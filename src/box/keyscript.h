#ifndef BOX_KEYSCRIPT_H
#define BOX_KEYSCRIPT_H

#include <string>
#include <vector>

// One line of a key script: a remote-control key, a pause on the box's clock, a
// snapshot, or the end of the run.
struct ScriptCommand
{
	enum Kind { Key, Wait, Snapshot, Quit };
	Kind kind = Key;
	std::string key;  // Key: the key's script word ("ok", "red", "7", "vol+", ...)
	long waitMs = 0;  // Wait
	std::string name; // Snapshot
	int line = 0;     // where it stands in the script, for messages
};

struct KeyScript
{
	std::vector<ScriptCommand> commands;
	std::vector<std::string> errors; // "line 3: unknown word 'foo'"; empty when the script is sound

	// Reads a script: one command per line, '#' starts a comment, blank lines count for nothing.
	static KeyScript parse(const std::string &text);
	static KeyScript load(const std::string &path);
};

// The script words for remote-control keys, in the order the README lists them.
const std::vector<std::string> &keyScriptKeyWords();

#endif
