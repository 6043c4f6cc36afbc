#ifndef SUPPORT_VLCDOUBLE_H
#define SUPPORT_VLCDOUBLE_H

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "host/estring.h"

// One request as the double received it.
struct VlcRequest
{
	enum class Port
	{
		web,
		stream,
	};
	Port port = Port::web;
	// The request line as sent, without its line end: "GET /requests/status.xml HTTP/1.0".
	eString line;
	eString method;
	// The path with its query, as sent: "/requests/status.xml?command=pl_stop".
	eString target;
	// The header lines in the order sent, names as written.
	std::vector<std::pair<eString, eString>> headers;

	// The value of a header (name compared without regard to case), or empty.
	eString header(const eString &name) const;
};

// VLC on loopback, as the plug-in meets it: the classic web interface on one
// port and the stream output on another.
//
// The web interface answers as VLC 0.8 does, with HTTP/1.0 status lines:
// "/requests/browse.xml?dir=" with a listing (from a table of texts, else from
// a directory tree on disk) or an "Error 404" page; "/requests/status.xml" with
// or without a command with the status text; anything else with 404. Listings
// carry names and paths XML-escaped, as they are on disk. Every request is
// recorded, line and headers, before it is answered. Switches make either port
// fail the way a broken or absent VLC does.
//
// The stream port serves "/dboxstream" from a byte source when one is set, at
// full speed or paced to a byte rate, and can fall silent after a number of
// stream bytes while it keeps the connection open, as a stalled VLC does.
//
// The double runs one thread that waits in poll on its sockets and a stop pipe;
// every method may be called from any thread.
class VlcDouble
{
public:
	using Port = VlcRequest::Port;

	enum class Failure
	{
		none,
		refuse,     // accept and close at once, reading nothing
		stall,      // read the request and never answer
		closeEarly, // send the first half of the answer, then close
		garbage,    // answer bytes that are no HTTP at all, then close
	};

	// The next bytes of a stream, at most max of them; 0 at the end, after which
	// the double closes the connection as VLC does at the end of its input.
	class ByteSource
	{
	public:
		virtual ~ByteSource() = default;
		virtual size_t read(char *buffer, size_t max) = 0;
	};
	using SourceFactory = std::function<std::unique_ptr<ByteSource>()>;
	// Serves fixed bytes and ends, as VLC ends a transcoded file.
	class FixedSource : public ByteSource
	{
	public:
		explicit FixedSource(eString data) : m_data(std::move(data)) {}
		size_t read(char *buffer, size_t max) override;

	private:
		eString m_data;
		size_t m_pos = 0;
	};

	VlcDouble();
	~VlcDouble();
	VlcDouble(const VlcDouble &) = delete;
	VlcDouble &operator=(const VlcDouble &) = delete;

	int webPort() const { return m_webPort; }
	int streamPort() const { return m_streamPort; }

	// -- Answers of the web interface.
	// The answer body for a listing of dir (the decoded value of the dir parameter).
	void setBrowse(const eString &dir, const eString &xml);
	// Lists real directories at or below root for dirs the table lacks; paths are
	// the real absolute paths on disk, as VLC shows them.
	void setBrowseTree(const eString &root);
	// The body of every status answer, commands included.
	void setStatusXml(const eString &xml);
	// Every web-interface request is answered with this status (401, 404, 500,
	// ...) and a short error page; 0 or 200 answers normally again.
	void setStatusCode(int code);
	// Every web-interface request is answered with exactly these bytes (another
	// VLC's answer, a broken one); empty answers normally again.
	void setRawAnswer(const eString &bytes);
	void setFailure(Failure failure, Port port = Port::web);

	// -- The stream port. Each connection to "/dboxstream" gets a new source.
	void setStreamSource(SourceFactory factory);
	// A source that serves these bytes and ends.
	void setStreamData(const eString &data);
	// Paces every stream connection to this many bytes a second, counted from
	// the end of its answer head; 0 sends as fast as the client takes them.
	void setStreamRate(long bytesPerSecond);
	// After this many stream bytes a connection falls silent and stays open
	// until the client leaves; 0 never holds.
	void setStreamHoldAfter(size_t bytes);
	// Stream bytes sent so far on all connections, answer heads not counted.
	size_t streamBytesSent() const;
	// The head of a stream answer. It leaves together with the first stream
	// bytes in one piece, so a client whose first read takes 511 bytes (as the
	// engine's does) drops exactly the first 511 - head size stream bytes.
	static eString streamAnswerHead();

	// -- What was received.
	std::vector<VlcRequest> requests() const;
	// The targets of one port's requests, in order.
	std::vector<eString> targets(Port port = Port::web) const;
	// Waits until n requests have arrived in all, or timeoutMs has passed; true
	// when they have.
	bool waitForRequests(size_t n, int timeoutMs) const;
	// Connections accepted on a port, refused ones included.
	size_t connections(Port port) const;
	void clearRequests();

	// A listing in the classic form: one element per entry, in the order given.
	struct Entry
	{
		eString type; // "directory" or "file"
		eString name;
		eString path;
		long long size = 0;
	};
	static eString browseXml(const std::vector<Entry> &entries);
	// The default status text: stopped, nothing loaded.
	static eString defaultStatusXml();

private:
	struct Connection;

	void run();
	// The poll timeout until the next paced connection may send; -1 for none.
	int pacingTimeout() const;
	void resumePaced();
	// How many stream bytes c may send now; 0 when it must wait or hold.
	size_t streamAllowance(Connection &c);
	void acceptOn(int listener, Port port);
	void onReadable(Connection &c);
	void onWritable(Connection &c);
	void answer(Connection &c);
	eString webAnswer(const VlcRequest &request);
	// The listing of dir from the table or the tree; false when there is none.
	bool browseAnswer(const eString &dir, eString &xml);
	bool listDirectory(const eString &dir, eString &xml);

	int m_webListener = -1;
	int m_streamListener = -1;
	int m_webPort = 0;
	int m_streamPort = 0;
	int m_stopPipe[2] = {-1, -1};
	// Owned by the server thread alone.
	std::vector<std::unique_ptr<Connection>> m_connections;

	mutable std::mutex m_mutex;
	mutable std::condition_variable m_requestArrived;
	// -- All the following fields are protected by m_mutex.
	std::map<eString, eString> m_browse;
	eString m_browseRoot;
	eString m_statusXml;
	int m_statusCode = 0;
	eString m_rawAnswer;
	Failure m_webFailure = Failure::none;
	Failure m_streamFailure = Failure::none;
	SourceFactory m_streamSource;
	long m_streamRate = 0;
	size_t m_streamHoldAfter = 0;
	size_t m_streamBytesSent = 0;
	std::vector<VlcRequest> m_requests;
	size_t m_webConnections = 0;
	size_t m_streamConnections = 0;

	std::thread m_thread;
};

#endif
