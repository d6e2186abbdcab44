#pragma once

#include <cstddef>
#include <memory>

// The parser takes the memory of a document's nodes page by page, and the
// system makes each page when it is first written: at 80,000 results about
// a fifth of the parse. While a large file is parsed, a CDomMemoryScope
// hands the parser one reserved region whose pages a second thread makes
// just ahead of it, so that the parse itself no longer waits for them.
//
// The parser's memory functions are the program's own from its start; a
// block taken outside a scope, or when the region is full, is plain heap
// memory. A region is given back when the last of its blocks is freed.
class CDomMemoryScope
{
public:
    // For the calling thread, until the scope ends. nExpected is what the
    // parse will likely take; more goes to the heap.
    explicit CDomMemoryScope(size_t nExpected);
    ~CDomMemoryScope();
    CDomMemoryScope(const CDomMemoryScope&) = delete;
    CDomMemoryScope& operator=(const CDomMemoryScope&) = delete;

    // Whether a region serves this scope (the system has none to give, or
    // every region is still held by a document: then the heap serves).
    bool HasRegion() const;

    // How many regions are held, by scopes and by the blocks still in use.
    static int RegionsInUse();

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

// Makes the pages of memory that is about to be written in one call, rather
// than one fault per page as the writes reach them. Small ranges are left to
// the writes. False where the system cannot; the writes then make them.
bool MakePages(char* p, size_t n);
