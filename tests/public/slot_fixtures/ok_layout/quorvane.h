// A header laid out like quorvane.h, with what the slot reader must get
// through: declarations inside comments, a block comment over several lines,
// declarations over several lines, overloads, default arguments, nested
// enumerations, an override without "virtual", an implicit destructor, a
// protected non-virtual one, and a preprocessor line continued.
#ifndef FIXTURE_H
#define FIXTURE_H
#define QUORVANE_API \
    __attribute__((visibility("default")))

class Canvas;
struct Plain { int len; const char *data; };

class Canvas {
public:
    enum Mode : int { ModeA = 0, ModeB = 1 };  // { braces; } in a comment
    QUORVANE_API static Canvas *create();
    virtual void destroy() = 0;
    virtual ~Canvas() = default;
    // virtual void commented(int) = 0;
    /* virtual void blocked() = 0;
       class Hidden { virtual void x(); }; */
    virtual void draw(int x, int y,
                      const char *const *labels,  // names; may be null
                      int n) = 0;
    virtual void draw(const char **data, int *len) = 0;
    virtual int
        size() const = 0;
    void helper() {}
    virtual Mode mode(Mode m = ModeA) = 0;
    static constexpr int kLimit = 3;
};

class Board : public Canvas {
public:
    void draw(const char **, int *) override;
    virtual void pin(unsigned int, const char *text = "a;b)") = 0;
    int helper2(int n) { return n; }
    using Canvas::draw;
};

class Owned {
public:
    virtual void set(double v) = 0;

protected:
    ~Owned() = default;
};

#endif
