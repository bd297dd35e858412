#pragma once

#include <QAtomicPointer>
#include <QMutex>
#include <QMutexLocker>
#include <QObject>

// Holder of one process-wide object: created on the first request under a
// mutex of its own (checked before and after taking it), handed out as is
// afterwards. When the object dies with its parent the holder forgets it, so a
// later request creates a fresh one instead of returning a dangling pointer.
template <typename T>
class SingleInstance
{
public:
    template <typename Factory>
    T* get(Factory&& create)
    {
        if (T* existing = m_object.loadAcquire())
            return existing;

        QMutexLocker lock(&m_mutex);
        T* object = m_object.loadAcquire();
        if (!object) {
            object = create();
            QObject::connect(object, &QObject::destroyed, [this, object] {
                m_object.testAndSetOrdered(object, nullptr);
            });
            m_object.storeRelease(object);
        }
        return object;
    }

    T* peek() const { return m_object.loadAcquire(); }

private:
    QAtomicPointer<T> m_object;
    QMutex m_mutex;
};
