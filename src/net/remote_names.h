#pragma once

#include <string>
#include <string_view>

namespace vistello {

// A path of "/"-separated steps with every step percent-encoded for a URL: only A-Z, a-z, 0-9 and
// "-._~" stay as they are, every other byte becomes "%" and two capital hex digits, so that a
// name with spaces, "#", "%", "?" or any letter reaches the server as the file's own bytes. The
// same form is the canonical URI of an S3 signature.
std::string EncodePath(std::string_view path);

// One query value or step, encoded as EncodePath encodes a step ("/" too is encoded).
std::string EncodeStep(std::string_view step);

// The site's folder joined with a name below it: "/site" + "a/b" is "/site/a/b"; the root joins
// without a doubled "/".
std::string JoinPath(std::string_view folder, std::string_view name);

// What comes before the last "/", or "" for a name without one.
std::string ParentOf(std::string_view name);

// What comes after the last "/".
std::string LeafOf(std::string_view name);

// "scheme://host" with ":port" when the port is not 0.
std::string ServerUrl(std::string_view scheme, std::string_view host, int port);

// A fresh temporary name for a file on its way to its place: ".vistello-up-" and random hex.
std::string UploadTemporaryLeaf();

// Whether the name is one a server may be given: not empty, no empty, "." or ".." step, no
// leading or trailing "/", and no NUL, CR or LF, which would end a command line early.
bool IsSendableName(std::string_view name);

}  // namespace vistello
