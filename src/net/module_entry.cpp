#include "net/curl_publish_link.h"
#include "net/publish_module.h"

// The one name the program looks up in this module: kPublishLinkEntry.
extern "C" __attribute__((visibility("default"))) vistello::PublishLink* vistello_publish_link() {
    static vistello::CurlPublishLink link;
    return &link;
}
