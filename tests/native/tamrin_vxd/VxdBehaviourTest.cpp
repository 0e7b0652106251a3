// tm.vxd's control procedure run in the unicorn emulator: the image is placed and fixed up
// as the loader would, port instructions and VxD service calls are trapped.
#include <gtest/gtest.h>
#include <unicorn/unicorn.h>

#include <cstring>
#include <memory>

#include "LeImage.h"

namespace {

constexpr uint32_t kCode = 0x10000, kData = 0x100000, kStack = 0x200000, kBios = 0x300000, kReturn = 0x400000;
constexpr uint32_t kParams = kData, kIn = kData + 0x100, kOut = kData + 0x200, kReturned = kData + 0x300;
constexpr uint32_t kDeviceIoControl = 0x23;
constexpr uint32_t kMapPhysToLinear = 0x0001006C;
constexpr uint8_t kUntouched = 0xEE;

struct PortEvent {
  bool out;
  uint32_t port, size, value;
};

struct Machine {
  std::unique_ptr<uc_engine, decltype(&uc_close)> uc{nullptr, uc_close};
  uint32_t controlProc = 0;
  uint32_t inValue = 0x12345678;
  bool mapFails = false;
  std::vector<PortEvent> ports;
  std::vector<std::vector<uint32_t>> services;  // id, then the three stacked arguments

  Machine()
  {
    uc_engine* raw = nullptr;
    if (uc_open(UC_ARCH_X86, UC_MODE_32, &raw) != UC_ERR_OK) {
      throw std::runtime_error("unicorn");
    }
    uc.reset(raw);
    const LeImage::Image image = LeImage::Read(TAMRIN_VXD_FILE);
    const std::vector<uint8_t> mem = LeImage::Load(image, kCode);
    for (uint32_t a : {kCode, kData, kStack, kBios, kReturn}) {
      uc_mem_map(raw, a, 0x10000, UC_PROT_ALL);
    }
    uc_mem_write(raw, kCode, mem.data(), mem.size());
    uc_mem_read(raw, kCode + image.entries.at(0).offset + 0x18, &controlProc, 4);
    uc_hook h;
    uc_hook_add(raw, &h, UC_HOOK_INSN, reinterpret_cast<void*>(&In), this, 1, 0, UC_X86_INS_IN);
    uc_hook_add(raw, &h, UC_HOOK_INSN, reinterpret_cast<void*>(&Out), this, 1, 0, UC_X86_INS_OUT);
    uc_hook_add(raw, &h, UC_HOOK_INTR, reinterpret_cast<void*>(&Interrupt), this, 1, 0);
  }

  static uint32_t In(uc_engine*, uint32_t port, int size, void* self)
  {
    auto* m = static_cast<Machine*>(self);
    m->ports.push_back({false, port, uint32_t(size), 0});
    return m->inValue;
  }
  static void Out(uc_engine*, uint32_t port, int size, uint32_t value, void* self)
  {
    static_cast<Machine*>(self)->ports.push_back({true, port, uint32_t(size), value});
  }
  // A VMM service call: int 20h followed by the service's dword; the arguments on the stack.
  static void Interrupt(uc_engine* uc, uint32_t number, void* self)
  {
    auto* m = static_cast<Machine*>(self);
    uint32_t eip = 0, esp = 0, call[4] = {};
    uc_reg_read(uc, UC_X86_REG_EIP, &eip);
    uc_reg_read(uc, UC_X86_REG_ESP, &esp);
    uc_mem_read(uc, eip, &call[0], 4);
    uc_mem_read(uc, esp, &call[1], 12);
    m->services.push_back({number, call[0], call[1], call[2], call[3]});
    uint32_t result = m->mapFails ? 0xFFFFFFFF : kBios;
    uc_reg_write(uc, UC_X86_REG_EAX, &result);
    eip += 4;
    uc_reg_write(uc, UC_X86_REG_EIP, &eip);
  }

  // Calls the control procedure; true when it returned success (eax 0, carry clear).
  bool Control(uint32_t message)
  {
    uint32_t esp = kStack + 0x8000, ret = kReturn, eflags = 0x3, esi = kParams, ebx = 1;
    uc_mem_write(uc.get(), esp, &ret, 4);
    uc_reg_write(uc.get(), UC_X86_REG_ESP, &esp);
    uc_reg_write(uc.get(), UC_X86_REG_EAX, &message);
    uc_reg_write(uc.get(), UC_X86_REG_ESI, &esi);
    uc_reg_write(uc.get(), UC_X86_REG_EBX, &ebx);
    uc_reg_write(uc.get(), UC_X86_REG_EFLAGS, &eflags);
    EXPECT_EQ(uc_emu_start(uc.get(), controlProc, kReturn, 0, 10000), UC_ERR_OK);
    uint32_t eip = 0, eax = 1;
    uc_reg_read(uc.get(), UC_X86_REG_EIP, &eip);
    uc_reg_read(uc.get(), UC_X86_REG_EAX, &eax);
    uc_reg_read(uc.get(), UC_X86_REG_EFLAGS, &eflags);
    return eip == kReturn && eax == 0 && (eflags & 1) == 0;
  }

  // One DeviceIoControl with the port word at the bytes-returned location.
  bool Request(uint32_t code, uint32_t inSize, uint32_t outSize, uint32_t port = 0x378)
  {
    const uint32_t params[12] = {0, 1, 0, code, kIn, inSize, kOut, outSize, kReturned, 0, 0, 0};
    uc_mem_write(uc.get(), kParams, params, sizeof params);
    const uint32_t returned = 0xBEEF0000 | port;
    uc_mem_write(uc.get(), kReturned, &returned, 4);
    const uint32_t value = 0xA1B2C3D4;
    uc_mem_write(uc.get(), kIn, &value, 4);
    std::vector<uint8_t> untouched(32, kUntouched);
    uc_mem_write(uc.get(), kOut, untouched.data(), untouched.size());
    const bool ok = Control(kDeviceIoControl);
    EXPECT_EQ(Read32(kReturned), returned) << "bytes-returned location written";
    return ok;
  }

  uint32_t Read32(uint32_t at)
  {
    uint32_t v = 0;
    uc_mem_read(uc.get(), at, &v, 4);
    return v;
  }
};

TEST(TamrinVxdBehaviour, PortRequestsUseThePortAtTheBytesReturnedLocation)
{
  struct Case {
    uint32_t code;
    bool out;
    uint32_t size, value, outBuffer;
  };
  const uint32_t e = 0xEEEEEEEE;
  const Case cases[] = {
      {0x222040, false, 1, 0x12345678, 0xEEEEEE78}, {0x222044, false, 2, 0x12345678, 0xEEEE5678},
      {0x222048, false, 4, 0x12345678, 0x12345678}, {0x22204C, true, 1, 0xD4, e},
      {0x222050, true, 2, 0xC3D4, e},               {0x222054, true, 4, 0xA1B2C3D4, e},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Machine m;
    EXPECT_TRUE(m.Request(c.code, 8, 8));
    ASSERT_EQ(m.ports.size(), 1u);
    EXPECT_EQ(m.ports[0].out, c.out);
    EXPECT_EQ(m.ports[0].port, 0x378u);
    EXPECT_EQ(m.ports[0].size, c.size);
    if (c.out) {
      EXPECT_EQ(m.ports[0].value, c.value);
    }
    EXPECT_EQ(m.Read32(kOut), c.outBuffer);
    EXPECT_EQ(m.Read32(kOut + 4), e);
    EXPECT_TRUE(m.services.empty());

    // Buffers too short for the value: nothing done, still success.
    Machine shortBuffers;
    EXPECT_TRUE(shortBuffers.Request(c.code, c.out ? c.size - 1 : 8, c.out ? 8 : c.size - 1));
    EXPECT_TRUE(shortBuffers.ports.empty());
  }
}

TEST(TamrinVxdBehaviour, BiosTableIsCopiedFromTheMappedPhysicalMemory)
{
  Machine m;
  const uint8_t table[16] = {0xF8, 3, 0xF8, 2, 0xE8, 3, 0xE8, 2, 0x78, 3, 0x78, 2, 0xBC, 3, 0, 0};
  uc_mem_write(m.uc.get(), kBios, table, sizeof table);
  EXPECT_TRUE(m.Request(0x222058, 0, 16));
  ASSERT_EQ(m.services.size(), 1u);
  EXPECT_EQ(m.services[0], (std::vector<uint32_t>{0x20, kMapPhysToLinear, 0x400, 16, 0}));
  uint8_t copied[17] = {};
  uc_mem_read(m.uc.get(), kOut, copied, sizeof copied);
  EXPECT_EQ(std::memcmp(copied, table, 16), 0);
  EXPECT_EQ(copied[16], kUntouched);
  EXPECT_TRUE(m.ports.empty());

  // A failed mapping copies nothing.
  Machine failing;
  failing.mapFails = true;
  EXPECT_TRUE(failing.Request(0x222058, 0, 16));
  EXPECT_EQ(failing.services.size(), 1u);
  EXPECT_EQ(failing.Read32(kOut), 0xEEEEEEEEu);
}

TEST(TamrinVxdBehaviour, UnknownRequestsAndOtherMessagesSucceedDoingNothing)
{
  for (uint32_t code : {0x22205Cu, 0x222060u, 0x22203Cu, 0x222042u, 0u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(code);
    Machine m;
    EXPECT_TRUE(m.Request(code, 8, 16));
    EXPECT_TRUE(m.ports.empty());
    EXPECT_TRUE(m.services.empty());
    EXPECT_EQ(m.Read32(kOut), 0xEEEEEEEEu);
  }
  for (uint32_t message : {0x00u, 0x1Bu, 0x1Cu, 0x22u, 0x24u}) {
    SCOPED_TRACE(message);
    Machine m;
    uc_mem_write(m.uc.get(), kParams + 0x0C, "\x40\x20\x22\x00", 4);  // would be a read
    EXPECT_TRUE(m.Control(message));
    EXPECT_TRUE(m.ports.empty());
  }
}

}  // namespace
