#pragma once
// The static instance() that the client's one-of-a-kind windows and forms
// offer: the object of the class constructed last, until it is destroyed.
//
//   class WebGameForm : public WebTabForm, public LatestInstance<WebGameForm>

template <class T>
class LatestInstance
{
public:
    // Null when no object of the class lives.
    static T *instance() { return static_cast<T *>(current); }

protected:
    LatestInstance() { current = this; }
    // Runs after the class's own destructor body, before its QWidget base
    // destroys the children: they no longer find a half-destroyed object.
    ~LatestInstance()
    {
        if (current == this)
            current = nullptr;
    }
    LatestInstance(const LatestInstance &) = delete;
    LatestInstance &operator=(const LatestInstance &) = delete;

private:
    static inline LatestInstance *current = nullptr;
};
