#include "Reply.h"

#include "JsonValue.h"

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

Reply Reply::file(std::string path, uint64_t size, std::string contentType)
{
    Reply reply;
    reply.filePath = std::move(path);
    reply.fileSize = size;
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
