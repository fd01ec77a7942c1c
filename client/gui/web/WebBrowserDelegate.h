#pragma once

class QUrl;

// What a page asks of the form that shows it. The answer true lets the page
// navigate to the URL; false cancels the navigation.
class WebBrowserDelegate
{
public:
    virtual bool OnFormSubmitted(const QUrl &url) = 0;
    virtual bool OnLinkClicked(const QUrl &url) = 0;

protected:
    ~WebBrowserDelegate() = default;
};
