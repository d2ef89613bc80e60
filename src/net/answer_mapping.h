#pragma once

#include <string_view>

#include "media/publish_link.h"
#include "net/curl_session.h"

namespace vistello {

// What a library result says of the server, before any protocol's own words are read: a refusal
// the library names, a connection that failed or broke, or Failed.
ServerAnswer::Kind ResultKind(CURLcode code);

// The answer to a request by the library's result alone: Done, Stopped when the stop flag or the
// progress ended it, else ResultKind with the library's words as the reason.
ServerAnswer LibraryAnswer(const Exchange& exchange);

// FTP: what a reply code of 400 or more says.
ServerAnswer::Kind FtpReplyKind(long code);
// FTP: LibraryAnswer, with the server's last reply as the reason and its code deciding where the
// library only says that a command or an upload failed.
ServerAnswer FtpAnswer(const Exchange& exchange);

// SFTP: LibraryAnswer, with a failed command told apart by the status the server gave.
ServerAnswer SftpAnswer(const Exchange& exchange);

// HTTP: what a status of 300 or more says.
ServerAnswer::Kind HttpStatusKind(long status);
// HTTP: LibraryAnswer when no status came, else the status decides, with the status line as the
// reason.
ServerAnswer HttpAnswer(const Exchange& exchange);

// An answer of the given kind and reason.
ServerAnswer Answer(ServerAnswer::Kind kind, std::string_view reason);

}  // namespace vistello
