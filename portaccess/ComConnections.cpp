#include "portaccess/ComConnections.h"

#include <algorithm>
#include <atomic>
#include <new>

#include "portaccess/TamrinModule.h"

namespace ComConnections {

using TamrinHandles::ComPtr;

namespace {

// How an enumerator copies out and releases its items.
struct PointItems {
  using Item = IConnectionPoint*;
  static void Copy(Item& to, Item from)
  {
    to = from;
    to->AddRef();
  }
  static void Drop(Item& item) { item->Release(); }
};

struct ConnectionItems {
  using Item = CONNECTDATA;
  static void Copy(Item& to, const Item& from)
  {
    to = from;
    to.pUnk->AddRef();
  }
  static void Drop(Item& item) { item.pUnk->Release(); }
};

// A snapshot enumerator: it holds its own references to the items and to their owner.
template <typename Interface, const IID* InterfaceId, typename Items>
class Enumerator final : public Interface {
public:
  using Item = typename Items::Item;

  Enumerator(IUnknown* owner, const std::vector<Item>& items) : owner_(owner)
  {
    items_.resize(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
      Items::Copy(items_[i], items[i]);
    }
    TamrinModule::ObjectCreated();
  }
  ~Enumerator()
  {
    for (Item& item : items_) {
      Items::Drop(item);
    }
    TamrinModule::ObjectDestroyed();
  }
  Enumerator(const Enumerator&) = delete;
  Enumerator& operator=(const Enumerator&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
  {
    if (!ppv) {
      return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, *InterfaceId)) {
      *ppv = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override
  {
    const ULONG left = --refs_;
    if (left == 0) {
      delete this;
    }
    return left;
  }

  STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override
  {
    if (!out || (count > 1 && !fetched)) {
      return E_POINTER;
    }
    ULONG n = 0;
    while (n < count && pos_ < items_.size()) {
      Items::Copy(out[n++], items_[pos_++]);
    }
    if (fetched) {
      *fetched = n;
    }
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override
  {
    const std::size_t left = items_.size() - pos_;
    pos_ += std::min<std::size_t>(left, count);
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override
  {
    pos_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(Interface** ppEnum) override
  {
    if (!ppEnum) {
      return E_POINTER;
    }
    auto* copy = new (std::nothrow) Enumerator(owner_.get(), items_);
    if (!copy) {
      *ppEnum = nullptr;
      return E_OUTOFMEMORY;
    }
    copy->pos_ = pos_;
    *ppEnum = copy;
    return S_OK;
  }

private:
  std::atomic<ULONG> refs_{1};
  ComPtr<IUnknown> owner_;
  std::vector<Item> items_;
  std::size_t pos_ = 0;
};

using ConnectionEnum = Enumerator<IEnumConnections, &IID_IEnumConnections, ConnectionItems>;
using PointEnum = Enumerator<IEnumConnectionPoints, &IID_IEnumConnectionPoints, PointItems>;

}  // namespace

ConnectionPoint::ConnectionPoint(IConnectionPointContainer* container, const IID& iid)
    : container_(container), iid_(iid)
{
}

ConnectionPoint::~ConnectionPoint() = default;

std::vector<ComPtr<IUnknown>> ConnectionPoint::Sinks() const
{
  std::vector<ComPtr<IUnknown>> sinks;
  sinks.reserve(connections_.size());
  for (const Connection& c : connections_) {
    sinks.push_back(c.sink);
  }
  return sinks;
}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID riid, void** ppv)
{
  if (!ppv) {
    return E_POINTER;
  }
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ConnectionPoint::AddRef() { return container_->AddRef(); }
STDMETHODIMP_(ULONG) ConnectionPoint::Release() { return container_->Release(); }

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* piid)
{
  if (!piid) {
    return E_POINTER;
  }
  *piid = iid_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppcpc)
{
  if (!ppcpc) {
    return E_POINTER;
  }
  *ppcpc = container_;
  container_->AddRef();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
  if (!cookie) {
    return E_POINTER;
  }
  *cookie = 0;
  if (!sink) {
    return E_POINTER;
  }
  ComPtr<IUnknown> typed;
  if (FAILED(sink->QueryInterface(iid_, typed.put_void())) || !typed) {
    return CONNECT_E_CANNOTCONNECT;
  }
  connections_.push_back({nextCookie_, std::move(typed)});
  *cookie = nextCookie_++;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie)
{
  auto it = std::find_if(connections_.begin(), connections_.end(),
                         [cookie](const Connection& c) { return c.cookie == cookie; });
  if (it == connections_.end()) {
    return CONNECT_E_NOCONNECTION;
  }
  // Released after the list is consistent again: the sink may call back into us.
  ComPtr<IUnknown> gone = std::move(it->sink);
  connections_.erase(it);
  return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** ppEnum)
{
  if (!ppEnum) {
    return E_POINTER;
  }
  std::vector<CONNECTDATA> data;
  data.reserve(connections_.size());
  for (const Connection& c : connections_) {
    data.push_back({c.sink.get(), c.cookie});
  }
  auto* e = new (std::nothrow) ConnectionEnum(static_cast<IConnectionPoint*>(this), data);
  *ppEnum = e;
  return e ? S_OK : E_OUTOFMEMORY;
}

HRESULT CreateConnectionPointEnum(IUnknown* owner, const std::vector<IConnectionPoint*>& points,
                                  IEnumConnectionPoints** ppEnum)
{
  if (!ppEnum) {
    return E_POINTER;
  }
  auto* e = new (std::nothrow) PointEnum(owner, points);
  *ppEnum = e;
  return e ? S_OK : E_OUTOFMEMORY;
}

}  // namespace ComConnections
