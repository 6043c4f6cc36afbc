#include "vlc/httpget.h"

#include <curl/curl.h>

#include "plugin/equelt.h"
#include "plugin/globals.h"

size_t CurlDummyWrite(void *data, size_t size, size_t count, void *answer)
{
	size_t bytes = size * count;
	static_cast<eString *>(answer)->append(static_cast<const char *>(data), bytes);
	return bytes;
}

int httpGet(const eString &url, const eString &credentials, eString &answer, HttpErrorStatus errors,
	long timeoutSeconds)
{
	answer.clear();
	CURL *curl = curl_easy_init();
	if (!curl)
		return CURLE_FAILED_INIT;
	curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
	curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, CurlDummyWrite);
	curl_easy_setopt(curl, CURLOPT_FILE, &answer);
	if (!credentials.empty())
		curl_easy_setopt(curl, CURLOPT_USERPWD, credentials.c_str());
	curl_easy_setopt(curl, CURLOPT_FAILONERROR, errors == HttpErrorStatus::failTransfer ? 1L : 0L);
	curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
	CURLcode result = curl_easy_perform(curl);
	curl_easy_cleanup(curl);
	return result;
}

int vlcGetRequest(const eString &path, eString &answer, HttpErrorStatus errors, long timeoutSeconds)
{
	// The path is taken as it stands: the caller has quoted what needs quoting,
	// and it begins with the slash that separates it from the port.
	return httpGet("http://" + send_parms[0] + ":" + send_parms[1] + path, send_parms[3], answer, errors,
		timeoutSeconds);
}

// Directory listings: a refused listing must look like no answer at all, and a
// slow PC may take a few seconds to read a large directory.
int eQUELT::sendGetRequest(const eString &path, eString &answer)
{
	return vlcGetRequest(path, answer, HttpErrorStatus::failTransfer, 5);
}
