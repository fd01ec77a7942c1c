#include "XLDL.h"

#include "XLDLImpl.h"

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
