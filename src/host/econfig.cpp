#include "host/econfig.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/log.h"
#include "host/paths.h"
#include "host/platform.h"

namespace
{
// A corrupt store can have thousands of bad lines; name the first few and count the rest.
const int maxNamedBadLines = 5;

bool isPlainByte(unsigned char c)
{
	return c > ' ' && c < 0x7f && c != '%';
}

void appendEscaped(eString &out, const eString &in)
{
	static const char hex[] = "0123456789ABCDEF";
	for (unsigned char c : in)
	{
		if (isPlainByte(c))
			out += char(c);
		else
		{
			out += '%';
			out += hex[c >> 4];
			out += hex[c & 15];
		}
	}
}

bool isHexDigit(char c)
{
	return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Undoes appendEscaped; false for a byte that the writer would have escaped or a
// broken escape, which means the line is damaged.
bool unescape(const char *begin, const char *end, eString &out)
{
	out.clear();
	for (const char *p = begin; p < end; ++p)
	{
		if (*p == '%')
		{
			if (end - p < 3 || !isHexDigit(p[1]) || !isHexDigit(p[2]))
				return false;
			out += char(getHex(p[1]) * 16 + getHex(p[2]));
			p += 2;
		}
		else if (isPlainByte(static_cast<unsigned char>(*p)))
			out += *p;
		else
			return false;
	}
	return true;
}

bool parseInt(const eString &text, int &value)
{
	if (text.empty() || text.size() > 11)
		return false;
	size_t i = text[0] == '-' ? 1 : 0;
	if (i == text.size())
		return false;
	for (size_t j = i; j < text.size(); ++j)
		if (text[j] < '0' || text[j] > '9')
			return false;
	long long v = std::strtoll(text.c_str(), nullptr, 10);
	if (v < INT_MIN || v > INT_MAX)
		return false;
	value = int(v);
	return true;
}

bool readWholeFile(const eString &file, eString &out, bool &missing)
{
	missing = false;
	FILE *f = std::fopen(file.c_str(), "rb");
	if (!f)
	{
		missing = errno == ENOENT;
		return false;
	}
	char buf[65536];
	size_t n;
	while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0)
		out.append(buf, n);
	bool ok = !std::ferror(f);
	std::fclose(f);
	return ok;
}

bool writeAll(int fd, const char *data, size_t len)
{
	while (len > 0)
	{
		ssize_t n = ::write(fd, data, len);
		if (n < 0)
		{
			if (errno == EINTR)
				continue;
			return false;
		}
		data += n;
		len -= size_t(n);
	}
	return true;
}

// Creates the folders leading to file, as mkdir -p does.
void makeParentDirs(const eString &file)
{
	for (size_t pos = file.find('/', 1); pos != eString::npos; pos = file.find('/', pos + 1))
		::mkdir(file.substr(0, pos).c_str(), 0755);
}

eString parentDir(const eString &file)
{
	size_t slash = file.rfind('/');
	if (slash == eString::npos)
		return ".";
	if (slash == 0)
		return "/";
	return file.substr(0, slash);
}

// A rename is durable only once the folder that holds the name is synced too.
void syncDir(const eString &dir)
{
	int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (fd < 0)
		return;
	::fsync(fd);
	::close(fd);
}
} // namespace

eConfig::eConfig() = default;

eConfig::~eConfig()
{
	std::lock_guard<std::mutex> lock(m_mutex);
	if (m_opened && m_dirty)
		flushLocked();
}

eConfig *eConfig::getInstance()
{
	// Never destroyed: the box closes it explicitly, and a store that flushed from a
	// static destructor could outlive the log it reports to.
	static eConfig *instance = new eConfig;
	return instance;
}

eString eConfig::defaultFile()
{
	return hostPath("/var/tuxbox/config/enigma/config");
}

int eConfig::open(const eString &file)
{
	std::lock_guard<std::mutex> lock(m_mutex);
	return openLocked(file);
}

int eConfig::openLocked(const eString &file)
{
	m_keys.clear();
	m_file = file;
	m_opened = true;
	m_dirty = false;

	eString text;
	bool missing = false;
	if (!readWholeFile(file, text, missing))
	{
		if (missing)
			return 0;
		eWarning("config: cannot read %s: %s", file.c_str(), std::strerror(errno));
		return -1;
	}

	int lineNo = 0, badLines = 0;
	size_t pos = 0;
	while (pos < text.size())
	{
		++lineNo;
		size_t nl = text.find('\n', pos);
		// A last line without its newline was cut off while being written.
		bool complete = nl != eString::npos;
		size_t end = complete ? nl : text.size();
		const char *line = text.data() + pos;
		size_t len = end - pos;
		pos = complete ? nl + 1 : text.size();

		if (len == 0 || line[0] == '#')
			continue;

		bool good = false;
		const char *lineEnd = line + len;
		const char *keyStart = line + 2;
		const char *keyEnd = keyStart < lineEnd ? static_cast<const char *>(std::memchr(keyStart, ' ', lineEnd - keyStart)) : nullptr;
		eString key, value;
		if (complete && len > 2 && (line[0] == 'i' || line[0] == 's') && line[1] == ' ' && keyEnd && keyEnd > keyStart &&
		    unescape(keyStart, keyEnd, key) && unescape(keyEnd + 1, lineEnd, value))
		{
			int number;
			if (line[0] == 's')
			{
				m_keys[key] = value;
				good = true;
			}
			else if (parseInt(value, number))
			{
				m_keys[key] = number;
				good = true;
			}
		}
		if (!good && ++badLines <= maxNamedBadLines)
			eWarning("config: %s:%d: skipping malformed line", file.c_str(), lineNo);
	}
	if (badLines > maxNamedBadLines)
	{
		int more = badLines - maxNamedBadLines;
		eWarning("config: %s: skipped %d more malformed line%s", file.c_str(), more, more == 1 ? "" : "s");
	}
	return 0;
}

int eConfig::close()
{
	std::lock_guard<std::mutex> lock(m_mutex);
	int result = 0;
	if (m_opened && m_dirty)
		result = flushLocked();
	m_keys.clear();
	m_file.clear();
	m_opened = false;
	m_dirty = false;
	return result;
}

eString eConfig::file() const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	return m_file;
}

void eConfig::ensureOpenLocked()
{
	if (!m_opened)
		openLocked(defaultFile());
}

int eConfig::getKey(const char *key, int &value)
{
	if (!key)
		return -1;
	std::lock_guard<std::mutex> lock(m_mutex);
	ensureOpenLocked();
	auto it = m_keys.find(key);
	if (it == m_keys.end() || !std::holds_alternative<int>(it->second))
		return -1;
	value = std::get<int>(it->second);
	return 0;
}

int eConfig::getKey(const char *key, eString &value)
{
	if (!key)
		return -1;
	std::lock_guard<std::mutex> lock(m_mutex);
	ensureOpenLocked();
	auto it = m_keys.find(key);
	if (it == m_keys.end() || !std::holds_alternative<eString>(it->second))
		return -1;
	value = std::get<eString>(it->second);
	return 0;
}

int eConfig::getKey(const char *key, char *&value)
{
	eString s;
	if (getKey(key, s))
		return -1;
	char *copy = static_cast<char *>(std::malloc(s.size() + 1));
	if (!copy)
		return -1;
	std::memcpy(copy, s.c_str(), s.size() + 1);
	value = copy;
	return 0;
}

int eConfig::setKey(const char *key, const int &value)
{
	if (!key)
		return -1;
	std::lock_guard<std::mutex> lock(m_mutex);
	ensureOpenLocked();
	m_keys[key] = value;
	m_dirty = true;
	return 0;
}

int eConfig::setKey(const char *key, const eString &value)
{
	if (!key)
		return -1;
	std::lock_guard<std::mutex> lock(m_mutex);
	ensureOpenLocked();
	m_keys[key] = value;
	m_dirty = true;
	return 0;
}

int eConfig::setKey(const char *key, const char *value)
{
	if (!value)
		return -1;
	return setKey(key, eString(value));
}

int eConfig::delKey(const char *key)
{
	if (!key)
		return -1;
	std::lock_guard<std::mutex> lock(m_mutex);
	ensureOpenLocked();
	if (!m_keys.erase(key))
		return -1;
	m_dirty = true;
	return 0;
}

int eConfig::flush()
{
	std::lock_guard<std::mutex> lock(m_mutex);
	ensureOpenLocked();
	return flushLocked();
}

int eConfig::flushLocked()
{
	eString text("# configuration store\n");
	for (const auto &[key, value] : m_keys)
	{
		if (const int *number = std::get_if<int>(&value))
		{
			text += "i ";
			appendEscaped(text, key);
			text += eString::format(" %d\n", *number);
		}
		else
		{
			text += "s ";
			appendEscaped(text, key);
			text += ' ';
			appendEscaped(text, std::get<eString>(value));
			text += '\n';
		}
	}

	makeParentDirs(m_file);
	eString temp = m_file + ".new";
	int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
	if (fd < 0)
	{
		eWarning("config: cannot write %s: %s", temp.c_str(), std::strerror(errno));
		return -1;
	}
	int err = 0;
	if (!writeAll(fd, text.data(), text.size()) || ::fsync(fd) != 0)
		err = errno;
	if (::close(fd) != 0 && !err)
		err = errno;
	if (!err && ::rename(temp.c_str(), m_file.c_str()) != 0)
		err = errno;
	if (err)
	{
		eWarning("config: cannot write %s: %s", m_file.c_str(), std::strerror(err));
		::unlink(temp.c_str());
		return -1;
	}
	syncDir(parentDir(m_file));
	m_dirty = false;
	return 0;
}
