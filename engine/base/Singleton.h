#pragma once

#include "base/Export.h"

namespace base {

// Base of every one-instance service. The owner creates the instance
// explicitly; getSingleton() never creates one and is null before and after.
template <typename T>
class DW_API Singleton {
public:
    Singleton() { ms_instance = static_cast<T*>(this); }
    ~Singleton() { ms_instance = nullptr; }

    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

    static T* getSingleton() { return ms_instance; }

protected:
    static T* ms_instance;
};

template <typename T>
T* Singleton<T>::ms_instance = nullptr;

} // namespace base

// Engine services instantiate their singleton once, inside duskwright, so the
// library and the game share one instance pointer.
#define DW_SINGLETON_DECLARE(T) \
    namespace base { extern template class Singleton<T>; }
#define DW_SINGLETON_DEFINE(T) \
    namespace base { template class Singleton<T>; }
