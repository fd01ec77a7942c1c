#include "Reply.h"

#include "JsonValue.h"

#include <sys/stat.h>

Reply Reply::json(const JsonValue& value)
{
    Reply reply;
    reply.contentType = "application/json; charset=utf-8";
    reply.text = value.dump();
    return reply;
}

Reply Reply::html(std::string page)
{
    Reply reply;
    reply.contentType = "text/html; charset=utf-8";
    reply.text = std::move(page);
    return reply;
}

Reply Reply::plain(int status, std::string text)
{
    Reply reply;
    reply.status = status;
    reply.text = std::move(text);
    return reply;
}

Reply Reply::file(std::string path, std::string contentType)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return notFound();
    Reply reply;
    reply.filePath = std::move(path);
    reply.fileSize = static_cast<uint64_t>(info.st_size);
    reply.contentType = std::move(contentType);
    return reply;
}

Reply Reply::redirect(const std::string& location)
{
    Reply reply = plain(302, "redirected to " + location + "\n");
    reply.headers.emplace_back("Location", location);
    return reply;
}

Reply Reply::notFound()
{
    return plain(404, "not found\n");
}
