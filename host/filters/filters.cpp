#include "host/filters/filters.hpp"

#include "host/doc/document.hpp"

namespace hostapp::filters {
namespace {

std::string WithoutEllipsis(const std::string& title) {
    for (const char* tail : {"...", "…"}) {
        const std::string t = tail;
        if (title.size() > t.size() && title.compare(title.size() - t.size(), t.size(), t) == 0)
            return title.substr(0, title.size() - t.size());
    }
    return title;
}

} // namespace

std::vector<std::string> FilterMenu(Host& host) {
    std::vector<std::string> menu;
    for (const auto& f : host.registry().filters)
        menu.push_back(f->category + "/" + f->title);
    return menu;
}

FilterHandleOpaque* FindFilter(Host& host, const std::string& word) {
    for (const auto& f : host.registry().filters)
        if (word == f->name || word == f->title || word == WithoutEllipsis(f->title))
            return f.get();
    return nullptr;
}

ErrorCode RunFilter(Host& host, FilterHandleOpaque* filter, bool askParameters) {
    if (filter == nullptr || host.registry().findFilter(filter->name) != filter)
        return kNotFoundErr;
    doc::Document* d = host.docs().current();
    if (d == nullptr)
        return kNoDocumentErr;
    // The filter is an operation of its own.
    doc::Commit(*d);
    FilterMessage message{};
    message.filter = filter;
    ErrorCode err = kNoErr;
    if (askParameters)
        err = host.send(kCallerFilter, kSelectorGetParameters, &message);
    if (err == kNoErr)
        err = host.send(kCallerFilter, kSelectorGo, &message);
    // The messages may have closed the document.
    if (host.docs().current() != d)
        return err;
    if (err != kNoErr) {
        // Whatever a preview or a half-done run left.
        doc::RevertPending(*d);
        return err;
    }
    doc::Commit(*d);
    host.registry().lastFilter = filter;
    return kNoErr;
}

FilterHandleOpaque* LastFilter(Host& host) {
    return host.registry().lastFilter;
}

} // namespace hostapp::filters
