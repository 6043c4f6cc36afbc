#include "support/vlcdouble.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
// A request head larger than this is no request the plug-in sends.
constexpr size_t maxRequestHead = 64 * 1024;
// Bytes taken from a stream source at a time.
constexpr size_t streamPiece = 64 * 1024;

int openListener(int &port)
{
	int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
	if (fd < 0)
		return -1;
	int one = 1;
	setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
	sockaddr_in addr{};
	addr.sin_family = AF_INET;
	addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	addr.sin_port = 0;
	socklen_t len = sizeof(addr);
	if (bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof(addr)) != 0 || listen(fd, 64) != 0 ||
		getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) != 0)
	{
		close(fd);
		return -1;
	}
	port = ntohs(addr.sin_port);
	return fd;
}

eString reasonPhrase(int code)
{
	switch (code)
	{
	case 200: return "OK";
	case 400: return "Bad Request";
	case 401: return "Unauthorized";
	case 403: return "Forbidden";
	case 404: return "Not Found";
	case 500: return "Internal Server Error";
	case 503: return "Service Unavailable";
	default: return "Error";
	}
}

eString httpAnswer(int code, const char *contentType, const eString &body, const eString &extraHeaders = eString())
{
	eString head = eString::format("HTTP/1.0 %d %s\r\n", code, reasonPhrase(code).c_str());
	head += extraHeaders;
	head += eString::format("Content-type: %s\r\nCache-Control: no-cache\r\nContent-Length: %zu\r\n\r\n", contentType,
		body.size());
	return head + body;
}

eString errorPage(int code)
{
	return eString::format("<html>\n<head>\n<title>Error %d</title>\n</head>\n<body>\n<h1>Error %d</h1>\n<hr />\n"
		"<a href=\"http://www.videolan.org\">VideoLAN</a>\n</body>\n</html>\n", code, code);
}

eString xmlEscape(const eString &text)
{
	eString out;
	for (char c : text)
	{
		switch (c)
		{
		case '&': out += "&amp;"; break;
		case '<': out += "&lt;"; break;
		case '>': out += "&gt;"; break;
		case '"': out += "&quot;"; break;
		case '\'': out += "&apos;"; break;
		default: out += c;
		}
	}
	return out;
}

int hexValue(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}

// A query value as VLC's classic interface decodes it: %XX escapes, and + for a space.
eString decodeQueryValue(const eString &value)
{
	eString out;
	for (size_t i = 0; i < value.size(); ++i)
	{
		char c = value[i];
		if (c == '%' && i + 2 < value.size() && hexValue(value[i + 1]) >= 0 && hexValue(value[i + 2]) >= 0)
		{
			out += static_cast<char>(hexValue(value[i + 1]) * 16 + hexValue(value[i + 2]));
			i += 2;
		}
		else if (c == '+')
			out += ' ';
		else
			out += c;
	}
	return out;
}

// The raw value of a query parameter ("" when absent).
eString queryParameter(const eString &query, const eString &name)
{
	size_t pos = 0;
	while (pos <= query.size())
	{
		size_t end = query.find('&', pos);
		if (end == eString::npos)
			end = query.size();
		eString pair = query.mid(pos, end - pos);
		size_t eq = pair.find('=');
		if (pair.left(eq) == name)
			return eq == eString::npos ? eString() : pair.mid(eq + 1);
		pos = end + 1;
	}
	return eString();
}

bool parseRequestHead(const eString &head, VlcRequest &request)
{
	size_t pos = 0;
	bool first = true;
	while (pos < head.size())
	{
		size_t end = head.find('\n', pos);
		if (end == eString::npos)
			end = head.size();
		eString line = head.mid(pos, end - pos);
		if (!line.empty() && line.back() == '\r')
			line.pop_back();
		pos = end + 1;
		if (first)
		{
			first = false;
			request.line = line;
			size_t sp1 = line.find(' ');
			size_t sp2 = sp1 == eString::npos ? eString::npos : line.find(' ', sp1 + 1);
			if (sp1 == eString::npos)
				return false;
			request.method = line.left(sp1);
			request.target = line.mid(sp1 + 1, sp2 == eString::npos ? eString::npos : sp2 - sp1 - 1);
			continue;
		}
		if (line.empty())
			break;
		size_t colon = line.find(':');
		if (colon == eString::npos)
			continue;
		eString value = line.mid(colon + 1);
		size_t start = value.find_first_not_of(" \t");
		request.headers.emplace_back(line.left(colon), start == eString::npos ? eString() : value.mid(start));
	}
	return !first;
}

// Bytes a broken or foreign server might send: no status line anywhere.
const char garbageBytes[] = "\x16\x03\x01\x02 \xff\xfe<<garbage>> SSH-2.0 \x7f\x01\r\n\r\n\x90\x91";

} // namespace

struct VlcDouble::Connection
{
	enum class State
	{
		reading, // gathering the request head
		writing, // sending an answer, then closing
		paced,   // a stream waiting for its next piece to be due
		stalled, // holding the connection without an answer
		dead,
	};
	int fd = -1;
	Port port = Port::web;
	State state = State::reading;
	eString in;
	eString out;
	size_t outPos = 0;
	std::unique_ptr<ByteSource> source;
	// Stream bytes taken from the source, and when the first was due.
	bool streamJoined = false; // the first stream bytes are behind the head
	size_t streamSent = 0;
	std::chrono::steady_clock::time_point streamStart;
	std::chrono::steady_clock::time_point due;
};

eString VlcRequest::header(const eString &name) const
{
	for (const auto &h : headers)
		if (h.first.lower() == name.lower())
			return h.second;
	return eString();
}

VlcDouble::VlcDouble() : m_statusXml(defaultStatusXml())
{
	m_webListener = openListener(m_webPort);
	m_streamListener = openListener(m_streamPort);
	if (pipe2(m_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
		m_stopPipe[0] = m_stopPipe[1] = -1;
	if (m_webListener < 0 || m_streamListener < 0 || m_stopPipe[0] < 0)
	{
		fprintf(stderr, "VlcDouble: cannot listen on loopback: %s\n", strerror(errno));
		abort();
	}
	m_thread = std::thread([this] { run(); });
}

VlcDouble::~VlcDouble()
{
	char stop = 'x';
	while (write(m_stopPipe[1], &stop, 1) < 0 && errno == EINTR)
	{
	}
	m_thread.join();
	for (auto &c : m_connections)
		close(c->fd);
	close(m_webListener);
	close(m_streamListener);
	close(m_stopPipe[0]);
	close(m_stopPipe[1]);
}

void VlcDouble::setBrowse(const eString &dir, const eString &xml)
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_browse[dir] = xml;
}

void VlcDouble::setBrowseTree(const eString &root)
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_browseRoot = root;
}

void VlcDouble::setStatusXml(const eString &xml)
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_statusXml = xml;
}

void VlcDouble::setStatusCode(int code)
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_statusCode = code;
}

void VlcDouble::setRawAnswer(const eString &bytes)
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_rawAnswer = bytes;
}

void VlcDouble::setFailure(Failure failure, Port port)
{
	std::lock_guard<std::mutex> lock(m_mutex);
	(port == Port::web ? m_webFailure : m_streamFailure) = failure;
}

void VlcDouble::setStreamSource(SourceFactory factory)
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_streamSource = std::move(factory);
}

void VlcDouble::setStreamData(const eString &data)
{
	setStreamSource([data] { return std::make_unique<VlcDouble::FixedSource>(data); });
}

void VlcDouble::setStreamRate(long bytesPerSecond)
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_streamRate = std::max(0L, bytesPerSecond);
}

void VlcDouble::setStreamHoldAfter(size_t bytes)
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_streamHoldAfter = bytes;
}

eString VlcDouble::streamAnswerHead()
{
	return "HTTP/1.0 200 OK\r\nContent-type: application/octet-stream\r\nCache-Control: no-cache\r\n\r\n";
}

size_t VlcDouble::streamBytesSent() const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	return m_streamBytesSent;
}

std::vector<VlcRequest> VlcDouble::requests() const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	return m_requests;
}

std::vector<eString> VlcDouble::targets(Port port) const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	std::vector<eString> out;
	for (const VlcRequest &r : m_requests)
		if (r.port == port)
			out.push_back(r.target);
	return out;
}

bool VlcDouble::waitForRequests(size_t n, int timeoutMs) const
{
	std::unique_lock<std::mutex> lock(m_mutex);
	return m_requestArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_requests.size() >= n; });
}

size_t VlcDouble::connections(Port port) const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	return port == Port::web ? m_webConnections : m_streamConnections;
}

void VlcDouble::clearRequests()
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_requests.clear();
}

eString VlcDouble::browseXml(const std::vector<Entry> &entries)
{
	eString xml = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\n<root>\n";
	for (const Entry &e : entries)
		xml += eString::format("<element type=\"%s\" name=\"%s\" path=\"%s\" size=\"%lld\"/>\n", e.type.c_str(),
			xmlEscape(e.name).c_str(), xmlEscape(e.path).c_str(), e.size);
	xml += "</root>\n";
	return xml;
}

eString VlcDouble::defaultStatusXml()
{
	return "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\n<root>\n<volume>256</volume>\n"
		   "<length>0</length>\n<time>0</time>\n<state>stop</state>\n<position>0</position>\n"
		   "<fullscreen></fullscreen>\n<random>0</random>\n<loop>0</loop>\n<repeat>0</repeat>\n"
		   "<information>\n</information>\n</root>\n";
}

void VlcDouble::run()
{
	for (;;)
	{
		std::vector<pollfd> fds;
		fds.push_back({m_stopPipe[0], POLLIN, 0});
		fds.push_back({m_webListener, POLLIN, 0});
		fds.push_back({m_streamListener, POLLIN, 0});
		for (auto &c : m_connections)
			fds.push_back({c->fd, static_cast<short>(c->state == Connection::State::writing ? POLLOUT : POLLIN), 0});

		if (poll(fds.data(), fds.size(), pacingTimeout()) < 0)
		{
			if (errno == EINTR)
				continue;
			fprintf(stderr, "VlcDouble: poll failed: %s\n", strerror(errno));
			return;
		}
		if (fds[0].revents)
			return;
		resumePaced();
		if (fds[1].revents)
			acceptOn(m_webListener, Port::web);
		if (fds[2].revents)
			acceptOn(m_streamListener, Port::stream);

		// Connections accepted in this pass have no entry in fds yet.
		size_t polled = fds.size() - 3;
		for (size_t i = 0; i < polled; ++i)
		{
			Connection &c = *m_connections[i];
			short revents = fds[i + 3].revents;
			if (!revents)
				continue;
			if (c.state == Connection::State::writing)
				onWritable(c);
			else
				onReadable(c);
		}
		for (auto it = m_connections.begin(); it != m_connections.end();)
		{
			if ((*it)->state == Connection::State::dead)
			{
				// Closing with unread input would reset the connection and could
				// drop the end of the answer on its way.
				char sink[4096];
				while (recv((*it)->fd, sink, sizeof(sink), 0) > 0)
				{
				}
				close((*it)->fd);
				it = m_connections.erase(it);
			}
			else
				++it;
		}
	}
}

int VlcDouble::pacingTimeout() const
{
	long long soonest = -1;
	auto now = std::chrono::steady_clock::now();
	for (const auto &c : m_connections)
	{
		if (c->state != Connection::State::paced)
			continue;
		long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(c->due - now).count() + 1;
		ms = std::max(0LL, ms);
		if (soonest < 0 || ms < soonest)
			soonest = ms;
	}
	return static_cast<int>(std::min<long long>(soonest, INT_MAX));
}

void VlcDouble::resumePaced()
{
	auto now = std::chrono::steady_clock::now();
	for (auto &c : m_connections)
	{
		if (c->state == Connection::State::paced && c->due <= now)
		{
			c->state = Connection::State::writing;
			onWritable(*c);
		}
	}
}

size_t VlcDouble::streamAllowance(Connection &c)
{
	long rate;
	size_t holdAfter;
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		rate = m_streamRate;
		holdAfter = m_streamHoldAfter;
	}
	size_t allowed = streamPiece;
	if (holdAfter > 0)
	{
		if (c.streamSent >= holdAfter)
		{
			c.state = Connection::State::stalled;
			return 0;
		}
		allowed = std::min(allowed, holdAfter - c.streamSent);
	}
	if (rate > 0)
	{
		// Pieces of about a twentieth of a second, in whole packets, so a paced
		// stream flows evenly.
		size_t piece = std::max<size_t>(188, static_cast<size_t>(rate / 20) / 188 * 188);
		allowed = std::min(allowed, piece);
		auto now = std::chrono::steady_clock::now();
		auto due = c.streamStart + std::chrono::microseconds(static_cast<long long>(
									   static_cast<double>(c.streamSent) * 1e6 / static_cast<double>(rate)));
		if (due > now)
		{
			c.due = due;
			c.state = Connection::State::paced;
			return 0;
		}
	}
	return allowed;
}

void VlcDouble::acceptOn(int listener, Port port)
{
	for (;;)
	{
		int fd = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
		if (fd < 0)
			return;
		Failure failure;
		{
			std::lock_guard<std::mutex> lock(m_mutex);
			(port == Port::web ? m_webConnections : m_streamConnections)++;
			failure = port == Port::web ? m_webFailure : m_streamFailure;
		}
		if (failure == Failure::refuse)
		{
			close(fd);
			continue;
		}
		auto c = std::make_unique<Connection>();
		c->fd = fd;
		c->port = port;
		m_connections.push_back(std::move(c));
	}
}

void VlcDouble::onReadable(Connection &c)
{
	char buffer[4096];
	for (;;)
	{
		ssize_t n = recv(c.fd, buffer, sizeof(buffer), 0);
		if (n > 0)
		{
			// A stalled connection only waits for its peer to give up.
			if (c.state == Connection::State::reading)
				c.in.append(buffer, static_cast<size_t>(n));
			continue;
		}
		if (n < 0 && errno == EINTR)
			continue;
		if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
			break;
		// End of file or an error: the client is gone.
		c.state = Connection::State::dead;
		return;
	}
	if (c.state != Connection::State::reading)
		return;
	size_t headEnd = c.in.find("\r\n\r\n");
	size_t headLen = headEnd == eString::npos ? eString::npos : headEnd + 4;
	if (headEnd == eString::npos)
	{
		headEnd = c.in.find("\n\n");
		headLen = headEnd == eString::npos ? eString::npos : headEnd + 2;
	}
	if (headEnd == eString::npos)
	{
		if (c.in.size() > maxRequestHead)
		{
			c.out = httpAnswer(400, "text/html", errorPage(400));
			c.state = Connection::State::writing;
		}
		return;
	}
	c.in.resize(headLen);
	answer(c);
}

void VlcDouble::answer(Connection &c)
{
	VlcRequest request;
	request.port = c.port;
	bool wellFormed = parseRequestHead(c.in, request);

	Failure failure;
	SourceFactory source;
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		if (wellFormed)
			m_requests.push_back(request);
		failure = c.port == Port::web ? m_webFailure : m_streamFailure;
		source = m_streamSource;
	}
	m_requestArrived.notify_all();

	eString full;
	if (!wellFormed)
		full = httpAnswer(400, "text/html", errorPage(400));
	else if (c.port == Port::web)
		full = webAnswer(request);
	else if (request.target == "/dboxstream" && source)
	{
		full = streamAnswerHead();
		c.source = source();
		c.streamStart = std::chrono::steady_clock::now();
	}
	else
		full = httpAnswer(404, "text/html", errorPage(404));

	switch (failure)
	{
	case Failure::stall:
		c.state = Connection::State::stalled;
		c.source.reset();
		return;
	case Failure::closeEarly:
		c.out = full.left(full.size() / 2);
		c.source.reset();
		break;
	case Failure::garbage:
		c.out.assign(garbageBytes, sizeof(garbageBytes) - 1);
		c.source.reset();
		break;
	default:
		c.out = full;
	}
	c.outPos = 0;
	c.state = Connection::State::writing;
	onWritable(c);
}

void VlcDouble::onWritable(Connection &c)
{
	if (c.source && !c.streamJoined)
	{
		c.streamJoined = true;
		size_t allowed = streamAllowance(c);
		// The head is still to go, whatever the allowance said about the stream.
		c.state = Connection::State::writing;
		if (allowed > 0)
		{
			std::string piece(allowed, '\0');
			size_t n = c.source->read(piece.data(), allowed);
			c.out.append(piece.data(), n);
			c.streamSent += n;
			std::lock_guard<std::mutex> lock(m_mutex);
			m_streamBytesSent += n;
		}
	}
	for (;;)
	{
		if (c.outPos == c.out.size())
		{
			c.out.clear();
			c.outPos = 0;
			if (c.source)
			{
				size_t allowed = streamAllowance(c);
				if (allowed == 0)
					return;
				char piece[streamPiece];
				size_t n = c.source->read(piece, allowed);
				c.out.assign(piece, n);
				c.streamSent += n;
				std::lock_guard<std::mutex> lock(m_mutex);
				m_streamBytesSent += n;
			}
			if (c.out.empty())
			{
				// HTTP/1.0: the answer ends with the connection. Shut the sending
				// side first, so the client reads every byte before the close.
				shutdown(c.fd, SHUT_WR);
				c.state = Connection::State::dead;
				return;
			}
		}
		ssize_t n = send(c.fd, c.out.data() + c.outPos, c.out.size() - c.outPos, MSG_NOSIGNAL);
		if (n > 0)
		{
			c.outPos += static_cast<size_t>(n);
			continue;
		}
		if (n < 0 && errno == EINTR)
			continue;
		if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
			return;
		c.state = Connection::State::dead;
		return;
	}
}

eString VlcDouble::webAnswer(const VlcRequest &request)
{
	int code;
	eString status;
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		if (!m_rawAnswer.empty())
			return m_rawAnswer;
		code = m_statusCode;
		status = m_statusXml;
	}
	if (code != 0 && code != 200)
	{
		eString extra = code == 401 ? eString("WWW-Authenticate: Basic realm=\"VLC stream\"\r\n") : eString();
		return httpAnswer(code, "text/html", errorPage(code), extra);
	}

	size_t q = request.target.find('?');
	eString path = request.target.left(q);
	eString query = q == eString::npos ? eString() : request.target.mid(q + 1);
	if (path == "/requests/status.xml")
		return httpAnswer(200, "text/xml", status);
	if (path == "/requests/browse.xml")
	{
		eString listing;
		if (browseAnswer(decodeQueryValue(queryParameter(query, "dir")), listing))
			return httpAnswer(200, "text/xml", listing);
		// The classic interface sends its error page as an ordinary answer, so
		// the client sees the text and can fall back to another directory.
		return httpAnswer(200, "text/html", errorPage(404));
	}
	return httpAnswer(404, "text/html", errorPage(404));
}

bool VlcDouble::browseAnswer(const eString &dir, eString &xml)
{
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		auto it = m_browse.find(dir);
		if (it != m_browse.end())
		{
			xml = it->second;
			return true;
		}
	}
	return listDirectory(dir, xml);
}

bool VlcDouble::listDirectory(const eString &dir, eString &xml)
{
	eString root;
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		root = m_browseRoot;
	}
	if (root.empty() || dir.empty())
		return false;
	char resolvedRoot[PATH_MAX];
	char resolvedDir[PATH_MAX];
	if (!realpath(root.c_str(), resolvedRoot) || !realpath(dir.c_str(), resolvedDir))
		return false;
	eString top(resolvedRoot);
	eString here(resolvedDir);
	if (here != top && here.left(top.size() + 1) != top + "/")
		return false;

	DIR *d = opendir(here.c_str());
	if (!d)
		return false;
	// Paths keep the form they were asked for, as VLC writes them.
	eString base = dir;
	while (base.size() > 1 && base.back() == '/')
		base.pop_back();
	std::vector<Entry> entries;
	entries.push_back({"directory", "..", base + "/..", 4096});
	std::vector<Entry> rest;
	while (dirent *e = readdir(d))
	{
		eString name(e->d_name);
		if (name == "." || name == "..")
			continue;
		eString full = base == "/" ? "/" + name : base + "/" + name;
		struct stat st;
		if (stat(full.c_str(), &st) != 0)
			continue;
		rest.push_back({S_ISDIR(st.st_mode) ? "directory" : "file", name, full, static_cast<long long>(st.st_size)});
	}
	closedir(d);
	std::sort(rest.begin(), rest.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
	entries.insert(entries.end(), rest.begin(), rest.end());
	xml = browseXml(entries);
	return true;
}

size_t VlcDouble::FixedSource::read(char *buffer, size_t max)
{
	size_t n = std::min(max, m_data.size() - m_pos);
	memcpy(buffer, m_data.data() + m_pos, n);
	m_pos += n;
	return n;
}
