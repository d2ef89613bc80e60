#pragma once

#include <curl/curl.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "media/publish_link.h"
#include "net/source_reader.h"

namespace vistello {

// What a server answered to one request, as the network library saw it.
struct Exchange {
    CURLcode code = CURLE_OK;
    // The HTTP status or the FTP reply code.
    long response = 0;
    // The library's own words for a failure.
    std::string error;
    // The last line the server answered: an FTP reply, an SFTP or HTTP header line.
    std::string lastReply;
    // HTTP: the last status line, such as "HTTP/1.1 404 Not Found".
    std::string statusLine;
    std::string body;
    // The stop flag was raised, or the progress asked to stop.
    bool stopped = false;
};

// One connection to a server, kept open from one request to the next.
class CurlSession {
public:
    explicit CurlSession(const std::atomic<bool>& stop);
    ~CurlSession();
    CurlSession(const CurlSession&) = delete;
    CurlSession& operator=(const CurlSession&) = delete;

    // Starts a request: the options of the one before are cleared, the connection is kept.
    // The handle is for the caller's own options until Perform.
    CURL* Begin(const std::string& url);
    // Sends the reader's bytes; `progress`, when given, hears how many went so far.
    void Upload(SourceReader& reader, const SendProgress* progress);
    // A request body held in memory (the XML of a WebDAV query).
    void Body(std::string body);
    // Runs this request even when the stop flag is raised, for a few seconds at most: the tidying
    // after a stopped transfer.
    void Regardless();
    // A list option (headers, commands before or after the transfer), kept until the next Begin.
    void List(CURLoption option, const std::vector<std::string>& lines);
    Exchange Perform();

private:
    static size_t TakeBody(char* data, size_t size, size_t count, void* me);
    static size_t TakeHeader(char* data, size_t size, size_t count, void* me);
    static size_t GiveUpload(char* buffer, size_t size, size_t count, void* me);
    static int Seek(void* me, curl_off_t offset, int origin);
    static int Progress(void* me, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent);

    struct ListFree {
        void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    };

    CURLcode PerformPolled();

    const std::atomic<bool>& m_stop;
    // The easy handle runs in a multi handle of its own, which keeps the connection between
    // requests and is waited on in short steps.
    CURLM* m_multi;
    CURL* m_handle;
    char m_error[CURL_ERROR_SIZE] = {};
    std::vector<std::unique_ptr<curl_slist, ListFree>> m_lists;
    std::string m_body;
    SourceReader* m_reader = nullptr;
    const SendProgress* m_progress = nullptr;
    curl_off_t m_sent = 0;
    bool m_regardless = false;
    Exchange m_exchange;
};

}  // namespace vistello
