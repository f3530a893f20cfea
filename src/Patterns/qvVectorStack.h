#pragma once
// A stack of fixed capacity over a vector, made once so that the stack
// programs run without allocating. A push beyond the capacity is dropped;
// top() of an empty stack is a value of its own, not part of the stack.

#include <cstddef>
#include <vector>

template <class T>
class qvVectorStack {
public:
    explicit qvVectorStack(int capacity) : m_values(static_cast<size_t>(capacity > 0 ? capacity : 0)) {}

    void push(T value) {
        if (m_iDepth >= static_cast<int>(m_values.size())) return;
        m_values[static_cast<size_t>(m_iDepth++)] = value;
    }
    T pop() { return m_iDepth > 0 ? m_values[static_cast<size_t>(--m_iDepth)] : T{}; }
    T& top() { return m_iDepth > 0 ? m_values[static_cast<size_t>(m_iDepth - 1)] : (m_none = T{}); }
    int depth() const { return m_iDepth; }
    bool isEmpty() const { return m_iDepth == 0; }
    void clear() { m_iDepth = 0; }
    int capacity() const { return static_cast<int>(m_values.size()); }

private:
    std::vector<T> m_values;
    int m_iDepth = 0;
    T m_none{};
};
