#include "net/curl_session.h"

#include <signal.h>

#include <cstring>
#include <ctime>

namespace vistello {

namespace {

constexpr long kUploadBuffer = 1L << 20;
constexpr int kStepMs = 10;

constexpr long kConnectSeconds = 15;
// A transfer that moves no byte for this long has stalled.
constexpr long kStallSeconds = 60;
// More than any listing or manifest a server should send for one request.
// Tidying after a stop must not hold the user up long.
constexpr long kTidyingSeconds = 5;
constexpr std::size_t kMostBody = 256 * 1024 * 1024;

// A write to a connection the server closed raises SIGPIPE, which would end the program; the
// network library asks the system not to raise it only for some of its writes. Held back on this
// thread alone while a request runs, and taken away when one came.
class SigpipeHeld {
public:
    SigpipeHeld() {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, &m_before);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
    }
    ~SigpipeHeld() {
        sigset_t pending;
        sigpending(&pending);
        if (!m_wasPending && sigismember(&pending, SIGPIPE) == 1) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec now{0, 0};
            sigtimedwait(&pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
    }
    SigpipeHeld(const SigpipeHeld&) = delete;
    SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
    sigset_t m_before;
    bool m_wasPending = false;
};

std::string WithoutLineEnd(const char* data, size_t size) {
    while (size > 0 && (data[size - 1] == '\n' || data[size - 1] == '\r')) --size;
    return std::string(data, size);
}

}  // namespace

CurlSession::CurlSession(const std::atomic<bool>& stop)
    : m_stop(stop), m_multi(curl_multi_init()), m_handle(curl_easy_init()) {}

CurlSession::~CurlSession() {
    if (m_handle != nullptr) curl_easy_cleanup(m_handle);
    if (m_multi != nullptr) curl_multi_cleanup(m_multi);
}

// The library's own wait, between steps where it has nothing to wait on, is a second: on a
// reused FTPS connection it takes that second before every data connection. Waiting in short
// steps ends such a lull at once.
CURLcode CurlSession::PerformPolled() {
    if (curl_multi_add_handle(m_multi, m_handle) != CURLM_OK) return CURLE_FAILED_INIT;
    CURLcode result = CURLE_OK;
    int running = 1;
    while (running != 0) {
        if (curl_multi_perform(m_multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (running != 0) curl_multi_poll(m_multi, nullptr, 0, kStepMs, nullptr);
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == m_handle)
            result = message->data.result;
    curl_multi_remove_handle(m_multi, m_handle);
    return result;
}

CURL* CurlSession::Begin(const std::string& url) {
    curl_easy_reset(m_handle);
    m_lists.clear();
    m_body.clear();
    m_reader = nullptr;
    m_progress = nullptr;
    m_sent = 0;
    m_regardless = false;
    m_exchange = Exchange();
    m_error[0] = '\0';
    curl_easy_setopt(m_handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(m_handle, CURLOPT_PROTOCOLS_STR, "sftp,ftp,ftps,http,https");
    curl_easy_setopt(m_handle, CURLOPT_ERRORBUFFER, m_error);
    curl_easy_setopt(m_handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_handle, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(m_handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallSeconds);
    curl_easy_setopt(m_handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_handle, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(m_handle, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(m_handle, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(m_handle, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_handle, CURLOPT_HEADERFUNCTION, TakeHeader);
    curl_easy_setopt(m_handle, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(m_handle, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(m_handle, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(m_handle, CURLOPT_NOPROGRESS, 0L);
    return m_handle;
}

void CurlSession::Upload(SourceReader& reader, const SendProgress* progress) {
    m_reader = &reader;
    m_progress = progress != nullptr && *progress ? progress : nullptr;
    curl_easy_setopt(m_handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_handle, CURLOPT_READFUNCTION, GiveUpload);
    curl_easy_setopt(m_handle, CURLOPT_READDATA, this);
    curl_easy_setopt(m_handle, CURLOPT_SEEKFUNCTION, Seek);
    curl_easy_setopt(m_handle, CURLOPT_SEEKDATA, this);
    curl_easy_setopt(m_handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(reader.Size()));
    // SFTP keeps as many writes under way as one buffer holds: a large one keeps the link busy.
    curl_easy_setopt(m_handle, CURLOPT_UPLOAD_BUFFERSIZE, kUploadBuffer);
}

void CurlSession::Regardless() {
    m_regardless = true;
    curl_easy_setopt(m_handle, CURLOPT_TIMEOUT, kTidyingSeconds);
}

void CurlSession::Body(std::string body) {
    m_body = std::move(body);
    curl_easy_setopt(m_handle, CURLOPT_POSTFIELDS, m_body.data());
    curl_easy_setopt(m_handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(m_body.size()));
}

void CurlSession::List(CURLoption option, const std::vector<std::string>& lines) {
    curl_slist* list = nullptr;
    for (const std::string& line : lines) {
        curl_slist* longer = curl_slist_append(list, line.c_str());
        if (longer == nullptr) break;
        list = longer;
    }
    m_lists.emplace_back(list);
    curl_easy_setopt(m_handle, option, list);
}

Exchange CurlSession::Perform() {
    if (m_handle == nullptr || m_multi == nullptr) {
        m_exchange.code = CURLE_FAILED_INIT;
        m_exchange.error = "the network library could not start";
        return m_exchange;
    }
    {
        SigpipeHeld held;
        m_exchange.code = PerformPolled();
    }
    curl_easy_getinfo(m_handle, CURLINFO_RESPONSE_CODE, &m_exchange.response);
    m_exchange.error = m_error[0] != '\0' ? m_error : curl_easy_strerror(m_exchange.code);
    if (m_reader != nullptr && !m_reader->Failure().empty()) m_exchange.error = m_reader->Failure();
    return std::move(m_exchange);
}

size_t CurlSession::TakeBody(char* data, size_t size, size_t count, void* me) {
    auto* session = static_cast<CurlSession*>(me);
    const size_t bytes = size * count;
    if (session->m_exchange.body.size() + bytes > kMostBody) return 0;
    session->m_exchange.body.append(data, bytes);
    return bytes;
}

size_t CurlSession::TakeHeader(char* data, size_t size, size_t count, void* me) {
    auto* session = static_cast<CurlSession*>(me);
    const size_t bytes = size * count;
    std::string line = WithoutLineEnd(data, bytes);
    if (line.rfind("HTTP/", 0) == 0) session->m_exchange.statusLine = line;
    if (!line.empty()) session->m_exchange.lastReply = std::move(line);
    return bytes;
}

size_t CurlSession::GiveUpload(char* buffer, size_t size, size_t count, void* me) {
    auto* session = static_cast<CurlSession*>(me);
    const long read = session->m_reader->Read(buffer, size * count);
    return read < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(read);
}

int CurlSession::Seek(void* me, curl_off_t offset, int origin) {
    auto* session = static_cast<CurlSession*>(me);
    if (offset != 0 || origin != SEEK_SET || !session->m_reader->Rewind())
        return CURL_SEEKFUNC_CANTSEEK;
    session->m_sent = 0;
    return CURL_SEEKFUNC_OK;
}

// The caller's progress must not throw through the library, whose C frames cannot pass it on.
int CurlSession::Progress(void* me, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent) {
    auto* session = static_cast<CurlSession*>(me);
    bool go = session->m_regardless || !session->m_stop.load();
    if (go && session->m_progress != nullptr && sent > session->m_sent) {
        session->m_sent = sent;
        try {
            go = (*session->m_progress)(static_cast<std::uint64_t>(sent));
        } catch (...) {
            go = false;
        }
    }
    session->m_exchange.stopped = !go;
    return go ? 0 : 1;
}

}  // namespace vistello
