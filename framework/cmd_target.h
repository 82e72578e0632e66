// The root of the framework's class tree.
//
// CObject gives every framework object a virtual destructor. CCmdTarget adds
// the message map: a class that handles window messages or commands lists
// them in its map, which chains to the map of its base class. The framework
// runs no message loop for an application that returns false from its
// initialisation hook, so the maps are only declared and never dispatched.
#pragma once

#include <cstddef>

struct MessageMap {
    const MessageMap* base;  // the base class's map; null at the root
    std::size_t entryCount;  // handlers of this class's own
};

class CObject {
public:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;
};

class CCmdTarget : public CObject {
public:
    virtual const MessageMap* GetMessageMap() const;
};
