#include "box/keyscript.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

const std::vector<std::string> &keyScriptKeyWords()
{
	static const std::vector<std::string> words = {
		"ok", "exit", "help", "up", "down", "left", "right", "red", "green", "yellow", "blue",
		"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "vol+", "vol-", "mute"};
	return words;
}

namespace
{
std::string trim(const std::string &s)
{
	size_t b = s.find_first_not_of(" \t\r");
	if (b == std::string::npos)
		return std::string();
	size_t e = s.find_last_not_of(" \t\r");
	return s.substr(b, e - b + 1);
}

bool validSnapshotName(const std::string &name)
{
	// The name becomes a file name in the snapshot folder: keep it to one plain component.
	if (name.empty() || name == "." || name == "..")
		return false;
	return std::all_of(name.begin(), name.end(), [](char c) {
		return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
	});
}
} // namespace

KeyScript KeyScript::parse(const std::string &text)
{
	KeyScript script;
	std::istringstream in(text);
	std::string raw;
	int lineNo = 0;
	while (std::getline(in, raw))
	{
		++lineNo;
		std::string line = raw;
		size_t hash = line.find('#');
		if (hash != std::string::npos)
			line.erase(hash);
		line = trim(line);
		if (line.empty())
			continue;
		std::istringstream words(line);
		std::string word, arg, extra;
		words >> word >> arg >> extra;
		ScriptCommand cmd;
		cmd.line = lineNo;
		auto fail = [&](const std::string &why) {
			script.errors.push_back("line " + std::to_string(lineNo) + ": " + why);
		};
		if (!extra.empty())
		{
			fail("too many words in '" + line + "'");
			continue;
		}
		const auto &keys = keyScriptKeyWords();
		if (std::find(keys.begin(), keys.end(), word) != keys.end())
		{
			if (!arg.empty())
			{
				fail("key '" + word + "' takes no argument");
				continue;
			}
			cmd.kind = ScriptCommand::Key;
			cmd.key = word;
		}
		else if (word == "wait")
		{
			char *end = nullptr;
			errno = 0;
			long ms = std::strtol(arg.c_str(), &end, 10);
			if (arg.empty() || *end || errno || ms < 0)
			{
				fail("wait needs a number of milliseconds, got '" + arg + "'");
				continue;
			}
			cmd.kind = ScriptCommand::Wait;
			cmd.waitMs = ms;
		}
		else if (word == "snapshot")
		{
			if (!validSnapshotName(arg))
			{
				fail("snapshot needs a plain name (letters, digits, - _ .), got '" + arg + "'");
				continue;
			}
			cmd.kind = ScriptCommand::Snapshot;
			cmd.name = arg;
		}
		else if (word == "quit")
		{
			if (!arg.empty())
			{
				fail("quit takes no argument");
				continue;
			}
			cmd.kind = ScriptCommand::Quit;
		}
		else
		{
			fail("unknown word '" + word + "'");
			continue;
		}
		script.commands.push_back(cmd);
	}
	return script;
}

KeyScript KeyScript::load(const std::string &path)
{
	std::ostringstream text;
	if (path == "-")
		text << std::cin.rdbuf();
	else
	{
		std::ifstream f(path);
		if (!f)
		{
			KeyScript s;
			s.errors.push_back("cannot read key script " + path);
			return s;
		}
		text << f.rdbuf();
	}
	return parse(text.str());
}
