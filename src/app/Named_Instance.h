// A process-wide object and the global name the rest of the program reaches it
// by. The holder owns the object; the name is a plain pointer that only the holder
// writes: it points at the object from the moment the object is made, and it is
// cleared before the object is destroyed, so code that runs while the object goes
// (its own destructor, the windows it takes with it) finds the name empty rather
// than a half-destroyed object.
#pragma once

#include <memory>
#include <utility>

template <class T>
class TNamedInstance {
  public:
    explicit TNamedInstance(T*& name) : fName(name) {}
    ~TNamedInstance() { Release(); }
    TNamedInstance(const TNamedInstance&) = delete;
    TNamedInstance& operator=(const TNamedInstance&) = delete;

    // Makes a new object, then releases the one held so far and names the new
    // one. A construction that throws leaves the object held so far in place.
    template <class... TArgs>
    T& Make(TArgs&&... args) {
        auto made = std::make_unique<T>(std::forward<TArgs>(args)...);
        Release();
        fObject = std::move(made);
        fName = fObject.get();
        return *fObject;
    }

    // Clears the name, then destroys the object; nothing when none is held.
    void Release() {
        if (!fObject) return;
        if (fName == fObject.get()) fName = nullptr;
        fObject.reset();
    }

    // Clears the name and keeps the object until the holder goes or makes another:
    // nothing reaches it by its name any more, and code still running inside it
    // (below a message box, during which the window that holds it was closed)
    // ends on a whole object.
    void Withdraw() {
        if (fName == fObject.get()) fName = nullptr;
    }

  private:
    T*& fName;
    std::unique_ptr<T> fObject;
};
