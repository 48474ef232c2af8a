#pragma once

#include <cstdlib>
#include <cstring>
#include <new>

// The game's one container: a doubly linked list of separately allocated
// nodes. It is the search stack of the generator and the solution counter,
// and the undo history of the board. Payloads are plain records of bytes and
// integers, so nodes are zeroed and copied as raw memory.

// Where nodes come from. The game always uses the C heap; tests put a heap
// that can run out in its place.
struct HeapMemory {
    static void* Allocate(std::size_t size) { return std::malloc(size); }
    static void Release(void* block) { std::free(block); }
};

template <typename T, typename Memory = HeapMemory>
class NodeList {
public:
    struct Node {
        T payload;
        Node* prev;
        Node* next;
    };

    Node* first;
    Node* last;

    NodeList() : first(nullptr), last(nullptr) {}
    ~NodeList() { Clear(); }

    NodeList(const NodeList&) = delete;
    NodeList& operator=(const NodeList&) = delete;

    void Clear()
    {
        Node* node = first;
        while (node) {
            Node* next = node->next;
            Memory::Release(node);
            node = next;
        }
        first = nullptr;
        last = nullptr;
    }

    // Allocates before touching the links, so that running out of memory
    // leaves the list exactly as it was.
    Node* PushBack(const T* source)
    {
        Node* node = static_cast<Node*>(Memory::Allocate(sizeof(Node)));
        if (!node)
            throw std::bad_alloc();
        std::memset(static_cast<void*>(node), 0, sizeof(Node));
        if (source)
            std::memcpy(static_cast<void*>(&node->payload), source, sizeof(T));
        node->prev = last;
        if (last)
            last->next = node;
        else
            first = node;
        last = node;
        return node;
    }

    Node* PopBack()
    {
        Node* node = last;
        if (!node)
            return nullptr;
        if (node->prev)
            node->prev->next = node->next;
        else
            first = node->next;
        if (node->next)
            node->next->prev = node->prev;
        else
            last = node->prev;
        Memory::Release(node);
        return last;
    }

    Node* TruncateAfter(Node* node)
    {
        if (!node)
            return last;
        Node* doomed = node->next;
        while (doomed) {
            Node* next = doomed->next;
            Memory::Release(doomed);
            doomed = next;
        }
        node->next = nullptr;
        last = node;
        return node;
    }

    Node* Prev(Node* node) const { return node ? node->prev : nullptr; }

    // Next(nullptr) starts a walk at the head of the list.
    Node* Next(Node* node) const { return node ? node->next : first; }
};
