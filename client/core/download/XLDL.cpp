#include "core/download/XLDL.h"

#include "core/download/XLDLImpl.h"

namespace {
XLDL *theInstance = nullptr;
}

XLDL *XLDL::instance()
{
    if (!theInstance)
        theInstance = new XLDLImpl();
    return theInstance;
}

XLDL::~XLDL()
{
    if (theInstance == this)
        theInstance = nullptr;
}
