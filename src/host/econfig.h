#ifndef HOST_ECONFIG_H
#define HOST_ECONFIG_H

#include <map>
#include <mutex>
#include <variant>

#include "host/estring.h"

// The receiver's configuration store: typed keys (int or string) by path-like
// names such as "/enigma/plugins/quelt/checkset".
//
// Changes live in memory until flush() writes the whole store to its file. The
// file is written under a temporary name beside the old one, synced, and then
// renamed over it, so a crash at any moment leaves either the old or the new
// store on disk, never a mix.
//
// The file is plain text, one key a line:
//     i <key> <decimal int>
//     s <key> <bytes>
// Keys and string values are written with every byte outside '!'..'~', and '%'
// itself, as %XX, so a value may hold any bytes, spaces and newlines included.
// Lines starting with '#' are comments. Loading takes every well-formed line
// and skips any other (a truncated last line included) with a warning that names
// the file and the line.
//
// Thread-safe: the engine's worker threads may read keys while the GUI writes.
class eConfig
{
public:
	// An empty store bound to no file; open() binds it.
	eConfig();
	// Writes unsaved changes, as the receiver does when it shuts down.
	~eConfig();
	eConfig(const eConfig &) = delete;
	eConfig &operator=(const eConfig &) = delete;

	// The receiver's store. Unless open() has bound it to another file first, its
	// first use loads hostPath("/var/tuxbox/config/enigma/config").
	static eConfig *getInstance();
	static eString defaultFile();

	// Forgets the current keys and loads the store from file (a host path). A
	// missing file gives an empty store and 0; an unreadable one gives -1 and an
	// empty store still bound to file.
	int open(const eString &file);
	// Writes unsaved changes, then forgets the keys and the file; the next use of
	// the store opens the default file again. Returns flush()'s result.
	int close();
	eString file() const;

	// 0 and the value when the key exists with that type; otherwise nonzero and
	// the value untouched.
	int getKey(const char *key, int &value);
	// The string as a new strdup'd copy the caller frees.
	int getKey(const char *key, char *&value);
	int getKey(const char *key, eString &value);

	// Stores the value, replacing whatever the key held, of either type.
	int setKey(const char *key, const int &value);
	int setKey(const char *key, const char *value);
	int setKey(const char *key, const eString &value);
	// 0 when the key existed.
	int delKey(const char *key);

	// Writes the store to its file as described above. 0 on success, -1 (with a
	// warning) when the file could not be written; the old file is then untouched.
	int flush();

private:
	using Value = std::variant<int, eString>;
	// Callers hold m_mutex.
	void ensureOpenLocked();
	int openLocked(const eString &file);
	int flushLocked();

	mutable std::mutex m_mutex;
	// -- All the following fields are protected by m_mutex.
	std::map<eString, Value> m_keys;
	eString m_file;
	bool m_opened = false;
	bool m_dirty = false;
};

#endif
