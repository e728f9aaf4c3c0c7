#ifndef RECORDSTORE_H_
#define RECORDSTORE_H_

#include "Empleado.h"

#include <cstddef>
#include <vector>

// The payroll parser's records, kept in blocks mapped straight from the kernel rather than one
// malloc a record: a payroll of a million records is 140 MB, and touching that much fresh memory
// a page at a time costs a trap into the kernel per 4 KiB, more than parsing the file does.
//
// Calling sequence: next() for each record to fill (dropLast() gives back one that turned out
// bad); forEach() to hand the records on; keep() once their users own them. Without keep(), the
// destructor unmaps every block.
class RecordStore {
  public:
    RecordStore() = default;
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;
    ~RecordStore();

    // A fresh zeroed record, or nullptr when memory runs out.
    Empleado* next();

    // Gives up the last record handed out by next().
    void dropLast() {
        --blocks_.back().used;
    }

    // Calls fn with each record in the order next() handed them out; stops at the first false.
    template <typename Fn> bool forEach(Fn&& fn) const {
        for (const Block& block : blocks_) {
            for (size_t i = 0; i < block.used; ++i) {
                if (!fn(&block.records[i])) {
                    return false;
                }
            }
        }
        return true;
    }

    // The records now belong to their users for the rest of the process.
    void keep() {
        kept_ = true;
    }

  private:
    struct Block {
        Empleado* records;
        size_t bytes;
        size_t capacity;
        size_t used;
    };

    bool grow();

    std::vector<Block> blocks_;
    bool kept_ = false;
};

#endif
