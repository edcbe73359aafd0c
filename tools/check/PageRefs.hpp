#pragma once
// Every place an HTML page points to, as its author wrote it: the address attributes of its tags (links,
// frames, scripts, forms, stylesheets, pictures, media), the urls of its style sheets, a refresh's target,
// and the absolute addresses written in its scripts. Pure text; markup it cannot read is passed over.

#include <string>
#include <vector>

struct TPageRef {
    std::string where; // what holds it, for messages: "iframe src", "style url", "script" ...
    std::string address;
};

std::vector<TPageRef> PageRefs(const std::string& html);
