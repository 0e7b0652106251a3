#pragma once
// Connection points of the control (property-change sinks and its event interface) and
// the two enumerators a connection-point container hands out.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <vector>

#include "portaccess/TamrinHandles.h"

namespace ComConnections {

// One connection point, a member of its container: its references are the container's.
class ConnectionPoint final : public IConnectionPoint {
public:
  // `container` owns this object and outlives it.
  ConnectionPoint(IConnectionPointContainer* container, const IID& iid);
  ~ConnectionPoint();
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  const IID& Iid() const { return iid_; }
  // The connected sinks, each as the interface of Iid(), copied so a sink may disconnect
  // while it is being called.
  std::vector<TamrinHandles::ComPtr<IUnknown>> Sinks() const;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IConnectionPoint
  STDMETHODIMP GetConnectionInterface(IID* piid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppcpc) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** ppEnum) override;

private:
  struct Connection {
    DWORD cookie;
    TamrinHandles::ComPtr<IUnknown> sink;
  };
  IConnectionPointContainer* container_;  // not owned: the container owns us
  IID iid_;
  std::vector<Connection> connections_;
  DWORD nextCookie_ = 1;
};

// Enumerator of connection points; keeps the container alive while it exists.
HRESULT CreateConnectionPointEnum(IUnknown* owner, const std::vector<IConnectionPoint*>& points,
                                  IEnumConnectionPoints** ppEnum);

}  // namespace ComConnections
