// One exported call reads one tenant: the first name it builds reads the
// process-wide text, and every later name of the call reuses that text, so
// that a host switching the tenant from another thread never gets a call
// whose statements name two tenants.
#ifndef LERV32_TABLEDEF_TENANT_SCOPE_H
#define LERV32_TABLEDEF_TENANT_SCOPE_H

namespace lerv32 {

class TenantScope {
 public:
  TenantScope() noexcept;
  ~TenantScope();
  TenantScope(const TenantScope&) = delete;
  TenantScope& operator=(const TenantScope&) = delete;

 private:
  bool outer_;
};

}  // namespace lerv32

#endif  // LERV32_TABLEDEF_TENANT_SCOPE_H
