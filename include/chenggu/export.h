/* The library's exported surface. The shared library is built with hidden visibility, so
 * that it exports what CHENGGU_EXPORT marks and nothing else: the C interface and the C++ API
 * of these headers. The C++ API lives in the inline namespace chenggu::v1, so that programs
 * built against one major version never bind to another's symbols; callers write chenggu::. */
#ifndef CHENGGU_EXPORT_H
#define CHENGGU_EXPORT_H

#if defined(_WIN32)
#define CHENGGU_EXPORT
#else
#define CHENGGU_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define CHENGGU_BEGIN_NAMESPACE \
    namespace chenggu {         \
    inline namespace v1 {
#define CHENGGU_END_NAMESPACE \
    }                         \
    }
#endif

#endif
